// The counted character sequences as a reviewed snapshot: call, pattern, title and suggestion
// part, separated by tabs ("\t" stands for a tab inside a field), one row a line.
#pragma once

inline constexpr const char* kSequencesGolden = R"golden(1	 – 	<интервал>< n-тире><интервал>	 -> – (ndash) |  —  (space+mdash+space) | - (dash) |  (remove) |   (space)
2	   	три или повече интервала	 ->   (space) |  (no space) | \t (tab)
3	  	два интервала	 ->   (space) |  (no space) | \t (tab)
4	 \t	<интервал><табулация>	 ->   (space) | \t (tab) |  (no space)
5	\t 	<табулация><интервал>	 ->   (space) | \t (tab) |  (no space)
6	 ,	<интервал><запетая>	 -> , (comma) | ,  (comma+space)
7	 ?	<интервал><въпросителен>	 -> ? (question mark) | ?  (question mark+space)
8	 !	<интервал><удивителен>	 -> ! (exclamation mark) | !  (exclamation mark+space)
9	 :	<интервал><двоеточие>	 -> : (colon) | :  (colon+space)
10	 ;	<интервал><точка и запетая>	 -> ; (semicolon) | ;  (semicolon+space)
11	 )	<интервал><дясна скоба>	 -> ) (bracket) | )  (bracket+space)
12	 ”	<интервал><затваряща кавичка> 0x94	 -> ” (quote) | ”  (quote+space)
13	 ",	<интервал><кавичка><запетая>	 -> ", (remove space)
14	 ".	<интервал><кавичка><точка>	 -> ". (remove space)
15	, .	<запетая><интервал><точка>	 -> , (comma) | . (dot) | ,  (comma+space) | .  (dot+space)
16	 " 	<интервал><кавичка><интервал>	 -> "  ("+space) |  " (space+") |   (space)
17	 ' 	<интервал><кавичка><интервал>	 -> '  ('+space) |  ' (space+') |   (space)
18	( 	<лява скоба><интервал>	 -> no suggestions
19	„ 	<отваряща кавичка><интервал> 0x84	 -> „ (quote) |  „ (space+quote)
20	...	три точки вместо многоточие	 -> …
21	.,	<точка><запетая>	 -> . (dot) | , (comma) | ,  (comma+space) | .  (dot+space)
22	._	<точка><черта>	 -> _. | .  (dot+space) | . (dot)
23	.:	<точка><двоеточие>	 -> . (dot) | :
24	:.	<двоеточие><точка>	 -> : | . (dot)
25	,-	<запетая><тире>	 -> ,  | , |  - | -
26	.-	<точка><тире>	 -> .  | . |  - | -
27	,–	<запетая><n-тире>	 -> ,  | , |  – | –
28	.–	<точка><n-тире>	 -> .  | . |  – | –
29	,—	<запетая><m-тире>	 -> , — | . — 
30	.—	<точка><m-тире>	 -> . — | . —  | . (dot)
31	?—	<въпросителен><m-тире>	 -> ? — | ? —  | . (dot)
32	!—	<удивителен><m-тире>	 -> ! — | ! —  | . (dot)
33	—,	<m-тире><запетая>	 -> — | ,
34	—.	<m-тире><точка>	 -> — | .
35	—?	<m-тире><въпросителен>	 -> — | ?
36	—!	<m-тире><удивителен>	 -> — | !
37	.?	<точка><въпросителен>	 -> ? | .
38	.!	<точка><удивителен>	 -> ! | .
39	?.	<въпросителен><точка>	 -> ? | .
40	!.	<удивителен><точка>	 -> ! | .
41	,?	<запетая><въпросителен>	 -> ? | ,
42	,!	<запетая><удивителен>	 -> ! | ,
43	?,	<въпросителен><запетая>	 -> ? | ,
44	!,	<удивителен><запетая>	 -> ! | ,
45	,:	<запетая><двоеточие>	 -> ,  | , | :  | :
46	:,	<двоеточие><запетая>	 -> ,  | , | :  | :
47	:-	<двоеточие><късо тире>	 -> : | :  |  -  | -  | -
48	:–	<двоеточие><n-тире>	 -> : | :  |  –  | –  | –
49	:—	<двоеточие><m-тире>	 -> : | :  |  —  | —  | —
50	——	две m-тирета	 -> — |  —  (space+mdash+space)
51	––	две n-тирета	 -> — (mdash) | – (ndash) |  —  (space+mdash+space)
52	--	две малки тирета	 -> — (mdash) | – (ndash) |  —  (space+mdash+space)
53	—–	<m-тире><n-тире>	 -> — (mdash) | – (ndash)
54	–—	<n-тире><m-тире>	 -> — (mdash) | – (ndash)
55	—-	<m-тире><късо тире>	 -> — (mdash) | – (ndash) |  —  (space+mdash+space)
56	-—	<късо тире><m-тире>	 -> — (mdash) | – (ndash) |  —  (space+mdash+space)
57	–-	<n-тире><късо тире>	 -> — (mdash) | – (ndash) | - |  —  (space+mdash+space)
58	-–	<късо тире><n-тире>	 -> — (mdash) | – (ndash) | - |  —  (space+mdash+space)
59	,.	<запетая><точка>	 -> , (comma) | . (dot) | ,  (comma+space) | .  (dot+space)
60	,,	<запетая><запетая>	 -> , (comma) | ,  (comma+space) | . (dot) | .  (dot+space)
61	­	скрито тире за пренос 0xAD	 -> (remove) | — (long) | - (short) 
62	`	символът `	 -> no suggestions
63	^	символът ^	 -> no suggestions
64	~	символът ~	 -> no suggestions
65	@	символът @	 -> no suggestions
66	#	символът #	 -> no suggestions
67	¦	символът ¦	 -> no suggestions
68	·	символът ·	 -> no suggestions
69	•	символът •	 -> no suggestions
70	°	символът °	 -> no suggestions
71	¶	символът ¶	 -> no suggestions
72	&	символът &	 -> no suggestions
73	§	символът §	 -> no suggestions
74	 	символът "непрекъсваем интервал" 0xA0	 -> no suggestions
75	†	символът †	 -> no suggestions
76	¤	символът ¤	 -> no suggestions
77	‹	символът ‹	 -> no suggestions
78	›	символът ›	 -> no suggestions
79	є	символът є	 -> no suggestions
80	±	символът ±	 -> no suggestions
81	€	символът €	 -> no suggestions
82	©	символът ©	 -> no suggestions
83	№	символът №	 -> no suggestions
84	|	символът |	 -> no suggestions
85	 - 	<интервал><късо тире><интервал>	 ->  —  (space+mdash+space) | - (dash) | – (ndash) |  (remove) |   (space)
86	>	символът >	 -> no suggestions
87	<	символът <	 -> no suggestions
88	$	символът $	 -> no suggestions
89	;	символът ;	 -> no suggestions
90	—	m-тире	 -> - | – (ndash)
91	–	n-тире	 -> — (long) | - (short) 
92	,»	<запетая><кавичка>	 -> »
93	,“	<запетая><кавичка>	 -> “
94	,"	<запетая><кавичка>	 -> "
95	«,	<отваряща кавичка><запетая>	 -> «
96	„,	<отваряща кавичка><запетая>	 -> „
97	«.	<отваряща кавичка><точка>	 -> «
98	„.	<отваряща кавичка><точка>	 -> „
)golden";
