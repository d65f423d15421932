#include "core/menus/MenusLogic.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/TestSupport.h"

namespace zelkora {
namespace {

TEST(VersionText, TitleVersionAndAuthorLines) {
    EXPECT_EQ(fVersionText(u"Zelkora", 1, 1, 2, u"Zelkora Project"),
              u"Zelkora Ver1.1.2\r\n作者 Zelkora Project");
}

TEST(VersionText, NumbersWithoutPaddingOrBlank) {
    EXPECT_EQ(fVersionText(u"T", 10, 0, 305, u"A"), u"T Ver10.0.305\r\n作者 A");
}

using PathCase = test::Case<std::u16string>;

const PathCase kPathCases[] = {
    {"windows-path", u"C:\\dir\\ReadMe.txt", u"C:\\dir"},
    {"linux-path", u"/opt/zelkora/ReadMe.txt", u"/opt/zelkora"},
    {"mixed-last-wins", u"/opt/a\\b/c.txt", u"/opt/a\\b"},
    {"trailing-separator", u"C:\\dir\\", u"C:\\dir"},
    {"root-file", u"/ReadMe.txt", u""},
    {"no-separator", u"ReadMe.txt", u""},
    {"empty", u"", u""},
    {"non-ascii", u"/ホーム/読む.txt", u"/ホーム"},
};

ZELKORA_TEST_FUNCTION(Cases, ParentFolderTest, TextBeforeTheLastSeparator, kPathCases,
                      fParentFolder)

struct DirectoryCase : test::NamedCase {
    std::u16string target;
    std::u16string directory;
    std::u16string expected;
};

const std::u16string kMarker(kDeriveDirectory);

const DirectoryCase kDirectoryCases[] = {
    {"derived-from-file", u"/opt/zelkora/ReadMe.txt", kMarker, u"/opt/zelkora"},
    {"derived-windows-file", u"C:\\dir\\ReadMe.txt", kMarker, u"C:\\dir"},
    {"derived-bare-file-null", u"ReadMe.txt", kMarker, u""},
    {"address-has-no-folder", u"https://zelkora.example.org/", kMarker, u""},
    {"address-with-path", u"https://zelkora.example.org/docs/a.html", kMarker, u""},
    {"explicit-kept", u"/opt/zelkora/ReadMe.txt", u"/tmp", u"/tmp"},
    {"explicit-empty-kept", u"/opt/zelkora/ReadMe.txt", u"", u""},
    {"two-nuls-not-marker", u"/opt/zelkora/ReadMe.txt", std::u16string(2, u'\0'),
     std::u16string(2, u'\0')},
};

ZELKORA_TEST_CASES(Cases, ShellDirectoryTest, GivenOrDerived, kDirectoryCases) {
    EXPECT_EQ(ShellDirectory(GetParam().target, GetParam().directory), GetParam().expected);
}

using AddressCase = test::Case<std::u16string, bool>;

const AddressCase kAddressCases[] = {
    {"https", u"https://zelkora.example.org/", true},
    {"mailto", u"mailto:someone@example.org", true},
    {"scheme-with-plus", u"svn+ssh://host/repo", true},
    {"drive-letter", u"C:\\dir\\ReadMe.txt", false},
    {"absolute-path", u"/opt/zelkora/ReadMe.txt", false},
    {"colon-in-file-name", u"/opt/a:b.txt", false},
    {"digit-first", u"1http://x", false},
    {"no-colon", u"ReadMe.txt", false},
};

ZELKORA_TEST_FUNCTION(Cases, IsAddressTest, SchemeOrPath, kAddressCases, IsAddress)

}  // namespace
}  // namespace zelkora
