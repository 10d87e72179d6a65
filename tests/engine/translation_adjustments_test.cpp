// The grammatical adjustments: nouns with gender and number, pronouns and names, the words for
// "her", "that", "who" and "whose", agreement and the definite article after "the".
#include "translation_fixture.h"

namespace {

class AdjustmentTest : public TranslationTest {
protected:
    void SetUp() override {
        TranslationTest::SetUp();
        list("c_c11", {"book книга", "books книги", "man мъж", "men мъже", "problem проблема", "river река", "stone камък", "house къща"});
        list("c_attr11", {"stone каменен"});
        list("c_v_az11", {"read чета", "said казах", "see виждам"});
        list("c_misc11", {"I аз", "is е", "are са", "this този", "the the"});  // "the" known, as an article (kept English)
        list("c_adj11", {"new нов", "cold студен"});
        list("c_two11", {"apple_tree ябълково_дърво", "old_house стара къща"});
        list("c_three11", {"big_old_house голяма стара къща"});
        list("z_name1", {"Mary Мери", "John Джон"});
        list("all_fem", {"Mary"});
        file("b_english_bulgarian.txt", {"her нея", "that онзи", "who кого", "whose чий"});
        forms({"книга книга 85 0", "книгата книга 85 1", "книги книга 85 2", "книгите книга 85 3", "мъж мъж 3 0",
               "мъжа мъж 3 1", "мъжът мъж 3 2", "мъже мъж 3 3", "мъжете мъж 3 4", "проблем проблем 3 0",
               "проблема проблем 3 1", "река река 85 0", "реката река 85 1", "нов нов 143 0", "новия нов 143 1",
               "новият нов 143 2", "нова нов 143 3", "новата нов 143 4", "ново нов 143 5", "новото нов 143 6",
               "нови нов 143 7", "новите нов 143 8", "студен студен 143 0", "студена студен 143 3", "каменен каменен 143 0", "каменна каменен 143 3",
               "къща къща 85 0", "камък камък 3 0",
               "неин неин 167 0", "нейния неин 167 1", "нейна неин 167 3", "нейната неин 167 4", "нейното неин 167 6",
               "нейните неин 167 8"});
        load();
    }
};

TEST_F(AdjustmentTest, AgreementAndChoiceOfWords) {
    const std::pair<const char*, const char*> cases[] = {
        {"The book that I read.", "Книгата която аз чета.\r"},    // "that" after a feminine noun
        {"The books that I read.", "Книгите които аз чета.\r"},   // after a plural noun
        {"He said that the man is new.", "He казах че мъжа е нов.\r"},  // before "the"
        {"He said that, and left.", "He казах това, and left.\r"},       // before a comma
        {"He said that.", "He казах това.\r"},                           // at the end
        {"Who is new?", "Кой е нов?\r"},
        {"The man who is new.", "Мъжа който е нов.\r"},
        {"The man who, I see, is new.", "Мъжа кой, аз виждам, е нов.\r"},  // "who" before a comma
        {"I see whose, I read.", "Аз виждам чие, аз чета.\r"},            // "whose" before a comma
        {"I see whose.", "Аз виждам чий.\r"},                             // a final "whose" keeps its text
        {"The men are new.", "Мъжете са нови.\r"},   // a plural masculine noun: its full definite form
        {"The river is this.", "Реката е този.\r"},  // "this" never agrees forwards
        {"I read her book.", "Аз чета нейната книга.\r"},   // "her" before a noun agrees with it
        {"I see her now.", "Аз виждам нея now.\r"},         // otherwise it keeps its text
        {"Mary is new.", "Мери е нова.\r"},                 // a feminine name
        {"John is new.", "Джон е нов.\r"},
        {"The problem is new.", "Проблема е нова.\r"},      // feminine by the built-in list
        {"The river is cold.", "Реката е студена.\r"},      // the definite article after "the"
        {"The new book.", "Новата книга.\r"},
        {"The man whose book is new.", "Мъжа чиято книга е нова.\r"},
        {"I see a stone house.", "Аз виждам каменна къща.\r"},  // an attribute before a noun agrees
        {"I see a stone old house.", "Аз виждам каменна стара къща.\r"},       // before a two-word phrase
        {"I see a stone big old house.", "Аз виждам каменен голяма стара къща.\r"},  // or a three-word one
        {"Whose book?", "Чиято книга?\r"},              // "whose" agrees with its noun
    };
    for (const auto& [english, bulgarian] : cases) EXPECT_EQ(translate(english), bulgarian) << english;
}

// A token that no list translates has no key: its English text never counts as the key the rules
// look for, so "the" before a noun puts no definite article on it, and "that", "her" and "who"
// keep their English text.
class UntranslatedTest : public TranslationTest {
protected:
    void SetUp() override {
        TranslationTest::SetUp();
        list("c_c11", {"dog куче", "river река"});
        list("c_v_az11", {"see виждам", "said казах"});
        list("c_misc11", {"I аз", "is е"});
        forms({"куче куче 114 0", "кучето куче 114 1", "река река 85 0", "реката река 85 1"});
        load();
    }
};

TEST_F(UntranslatedTest, AnUntranslatedTokenIsNoKey) {
    const std::pair<const char*, const char*> cases[] = {
        {"I see the dog.", "Аз виждам куче.\r"},          // no definite article
        {"The river is here.", "Река е here.\r"},
        {"I said that.", "Аз казах that.\r"},             // a final "that" is no "това"
        {"I said that the dog is here.", "Аз казах that куче е here.\r"},
        {"I see her dog.", "Аз виждам her куче.\r"},      // no "неин"
        {"Who is here?", "Who е here?\r"},                // no "кой"
    };
    for (const auto& [english, bulgarian] : cases) EXPECT_EQ(translate(english), bulgarian) << english;
}

TEST_F(AdjustmentTest, ATextWithFewerWordsThanItsKindIsNoNoun) {
    EXPECT_EQ(translate("I see the apple tree."), "Аз виждам ябълково_дърво.\r");
    EXPECT_TRUE(hs->message_boxes.empty());
}

}  // namespace
