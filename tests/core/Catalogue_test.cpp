#include "core/tables/Catalogue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace zelkora {
namespace {

namespace fs = std::filesystem;

struct OrderCase : test::NamedCase {
    std::string before;  // raw bytes
    std::string after;
};

const OrderCase kOrderCases[] = {
    {"case-ignored-first", "apple.txt", "Banana.txt"},
    {"case-ignored-second", "Apple.txt", "banana.txt"},
    {"tie-upper-case-first", "ABC.txt", "abc.txt"},
    {"tie-mixed-case", "Abc.txt", "aBc.txt"},
    {"prefix-first", "abc", "abc.txt"},
    // Upper-cased letters (0x41-0x5A) come before "_" (0x5F); lower-cased ones would not.
    {"letters-before-underscore", "a.txt", "_x.txt"},
    {"digits-before-letters", "9.txt", "a.txt"},
    {"ascii-before-kana", "z.txt", "\xE3\x81\x82.txt"},                    // あ.txt
    {"hiragana-before-katakana", "\xE3\x81\x82.txt", "\xE3\x82\xA2.txt"},  // あ, ア
    {"full-width-case-ignored", "\xEF\xBD\x81.txt", "\xEF\xBC\xA2.txt"},   // ａ, Ｂ
    {"greek-case-ignored", "\xCE\xB1.txt", "\xCE\x92.txt"},                // α, Β
    // Compared by code unit: a surrogate pair comes before U+E000..U+FFFF.
    {"supplementary-before-full-width", "\xF0\x9F\x98\x80.txt", "\xEF\xBD\x81.txt"},  // 😀, ａ
    // A byte that is not UTF-8 stands for U+DC80..U+DCFF, above every CJK character.
    {"invalid-utf8-after-kanji", "\xE6\xBC\xA2.txt", "\xFF.txt"},  // 漢
    {"invalid-utf8-bytes-ordered", "\x80.txt", "\xFF.txt"},
};

ZELKORA_TEST_CASES(Names, CatalogueOrderTest, SortsBeforeAndNotAfter, kOrderCases) {
    EXPECT_TRUE(CatalogueLess(GetParam().before, GetParam().after));
    EXPECT_FALSE(CatalogueLess(GetParam().after, GetParam().before));
}

TEST(CatalogueLess, NameIsNotBeforeItself) {
    EXPECT_FALSE(CatalogueLess("a.txt", "a.txt"));
    EXPECT_FALSE(CatalogueLess("\xFF", "\xFF"));
}

struct ChooseCase : test::NamedCase {
    std::vector<std::string> names;
    std::u16string fileValue;
    std::optional<std::string> chosen;
};

const ChooseCase kChooseCases[] = {
    {"named-second", {"a.txt", "b.txt"}, u"b.txt", "b.txt"},
    {"missing-value-takes-first", {"a.txt", "b.txt"}, u"", "a.txt"},
    {"unknown-takes-first", {"a.txt", "b.txt"}, u"c.txt", "a.txt"},
    {"case-differs-takes-first", {"a.txt", "b.txt"}, u"B.txt", "a.txt"},
    {"non-ascii-name", {"a.txt", "\xE6\xBC\xA2.txt"}, u"漢.txt", "\xE6\xBC\xA2.txt"},
    {"invalid-utf8-name", {"a.txt", "\xFF.txt"}, u"\xDCFF.txt", "\xFF.txt"},
    {"none-listed", {}, u"a.txt", std::nullopt},
};

ZELKORA_TEST_CASES(Values, ChooseTableTest, Chooses, kChooseCases) {
    EXPECT_EQ(ChooseTable(GetParam().names, GetParam().fileValue), GetParam().chosen);
}

class ListTableFilesTest : public ::testing::Test {
protected:
    void Touch(const std::string& name) { test::WriteBytes(dir_ / name, "41 A"); }

    const test::TempFolder folder_{"zelkora-catalogue"};
    const fs::path& dir_ = folder_.path();
};

TEST_F(ListTableFilesTest, FilesInCatalogueOrderWithoutFoldersOrEditorFiles) {
    Touch("b.txt");
    Touch("A.tbl");
    Touch(".hidden");
    Touch(".b.txt.swp");
    Touch(".~lock.b.txt#");
    Touch("b.txt~");
    Touch("a~b.txt");
    Touch("\xFF raw");
    fs::create_directory(dir_ / "a-folder");
    fs::create_symlink(dir_ / "b.txt", dir_ / "c-link.txt");
    fs::create_symlink(dir_ / "a-folder", dir_ / "d-folder-link");
    fs::create_symlink(dir_ / "gone", dir_ / "e-dangling");
    const std::vector<std::string> expected = {"A.tbl", "a~b.txt", "b.txt", "c-link.txt",
                                               "\xFF raw"};
    EXPECT_EQ(ListTableFiles(dir_), expected);
}

TEST_F(ListTableFilesTest, RawNameOpensAgain) {
    Touch("\x82\xA0.txt");  // あ.txt in Shift_JIS: not UTF-8
    const auto names = ListTableFiles(dir_);
    ASSERT_TRUE(names.has_value());
    ASSERT_EQ(names->size(), 1u);
    EXPECT_TRUE(fs::is_regular_file(dir_ / names->front()));
}

TEST_F(ListTableFilesTest, EmptyFolderListsNothing) {
    EXPECT_EQ(ListTableFiles(dir_), std::vector<std::string>{});
}

TEST_F(ListTableFilesTest, MissingFolderCannotBeListed) {
    const auto listed = ListTableFiles(dir_ / "missing");
    EXPECT_EQ(listed, std::nullopt);
    EXPECT_EQ(listed.error(), std::errc::no_such_file_or_directory);
}

TEST_F(ListTableFilesTest, FileIsNotAFolder) {
    Touch("a.txt");
    const auto listed = ListTableFiles(dir_ / "a.txt");
    EXPECT_EQ(listed, std::nullopt);
    EXPECT_EQ(listed.error(), std::errc::not_a_directory);
}

}  // namespace
}  // namespace zelkora
