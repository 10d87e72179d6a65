// The demonstration lexicon translates a few real English sentences.
#include "translation_fixture.h"

namespace {

class DemoTranslationTest : public TranslationTest {};

TEST_F(DemoTranslationTest, RealSentences) {
    load_lexicon(JUX_DEMO_DIR);
    const std::pair<const char*, const char*> cases[] = {
        {"The dog reads a book.", "Кучето чете книга.\r"},  // a corpus sentence
        {"Good morning!", "Добро утро!\r"},
        {"The teacher reads a new book.", "Учителя чете нова книга.\r"},
        {"I have a big house.", "Аз имам голяма къща.\r"},
        {"She writes a letter.", "Тя пише писмо.\r"},
        {"I read the new books.", "Аз чета новите книги.\r"},
        {"The old teacher walks to the river.", "Стария учител ходи до реката.\r"},
        {"Maria reads a good book.", "Мария чете добра книга.\r"},
        {"He thinks that the woman is young.", "Той мисли че жената е млада.\r"},
        {"I see the bus.", "Аз виждам автобуса.\r"},
        {"If you want, I read a book.", "Ако искаш, аз чета книга.\r"},
        {"You will be happy.", "Ти ще съм щастлив.\r"},  // renderings without the entries' notes
        {"I don't know where it is.", "Аз не знам къде то е.\r"},
    };
    for (const auto& [english, bulgarian] : cases) EXPECT_EQ(translate(english), bulgarian) << english;
}

}  // namespace
