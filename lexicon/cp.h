// lexicon/cp.h - the "…"_cp literal lives beside the text layer now (platform/text_literal.h);
// this name stays for the code that includes it.
#pragma once

#include "platform/text_literal.h"
