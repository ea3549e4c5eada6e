// The INI text under the record store: names found without regard to case, a section spread
// over several places read as one, edits that keep the rest of the file as it was.

#include "directory/ini_document.h"

#include <gtest/gtest.h>

using namespace tamble;

namespace {

const QByteArray kSpread = "; list\r\n[Index]\r\nAnna = #\r\nbob=#\r\n\r\n[ anna ]\r\nNumber= 1 2 \r\nnumber=9\r\n"
                           "[INDEX]\r\nBOB=#\r\nCarl\r\n\r\n[Defaults]\r\n_Entries=2\r\n";

TEST(IniDocumentRead, SectionsAndKeysAreFoundWhateverTheirCase)
{
    const IniDocument doc = IniDocument::parse(kSpread);
    EXPECT_EQ(doc.sections(), (QStringList{"Index", "anna", "Defaults"}));
    // The second "[INDEX]" continues the first; "BOB" repeats "bob"; a line without "=" is a key.
    EXPECT_EQ(doc.keys("index"), (QStringList{"Anna", "bob", "Carl"}));
    struct Lookup {
        const char* section;
        const char* key;
        std::optional<QString> value;
    };
    const Lookup lookups[] = {
        {"ANNA", "number", QStringLiteral("1 2")},  // the first of two, blanks around it dropped
        {"Index", "carl", QString()},
        {"Index", "Dora", std::nullopt},
        {"nobody", "Number", std::nullopt},
        {"defaults", "_ENTRIES", QStringLiteral("2")},
    };
    for (const Lookup& l : lookups)
        EXPECT_EQ(doc.value(l.section, l.key), l.value) << l.section << " " << l.key;
    EXPECT_TRUE(doc.hasSection("DEFAULTS"));
    EXPECT_FALSE(doc.hasSection("Anna "));
}

TEST(IniDocumentWrite, EditsChangeOnlyTheirLines)
{
    IniDocument doc = IniDocument::parse(kSpread);
    doc.setValue("INDEX", "dora", "#");          // added after the last key of the last part
    doc.setValue("anna", "NUMBER", "555");       // first line rewritten, the key keeps its spelling
    doc.setValue("Eve", "Number", "7");          // a new section after a blank line
    doc.removeKey("index", "bob");               // both spellings, in both parts
    doc.renameKey("Index", "anna", "Anne", "#");
    doc.renameSection("ANNA", "Anne");
    EXPECT_EQ(doc.serialize(), QByteArray("; list\r\n[Index]\r\nAnne=#\r\n\r\n[Anne]\r\nNumber=555\r\nnumber=9\r\n"
                                          "[INDEX]\r\nCarl\r\ndora=#\r\n\r\n[Defaults]\r\n_Entries=2\r\n\r\n"
                                          "[Eve]\r\nNumber=7\r\n"));
    EXPECT_EQ(doc.value("anne", "number"), QStringLiteral("555"));
    EXPECT_EQ(doc.value("eve", "NUMBER"), QStringLiteral("7"));
    doc.removeSection("index");
    EXPECT_EQ(doc.sections(), (QStringList{"Anne", "Defaults", "Eve"}));
    EXPECT_TRUE(doc.keys("Index").isEmpty());
}

TEST(IniDocumentWrite, LineEndsStayAndTextOutsideLatin1IsMarked)
{
    IniDocument doc = IniDocument::parse("[A]\nx=1\n");
    doc.setValue("a", "y", QStringLiteral("\u20ac\u00e9"));
    EXPECT_EQ(doc.serialize(), QByteArray("[A]\nx=1\ny=?\xe9\n"));
    EXPECT_EQ(IniDocument::parse(QByteArray()).serialize(), QByteArray());
}

TEST(CaseFoldedHash, TextsEqualButForCaseHashAlike)
{
    EXPECT_EQ(CaseFoldedHash(u"Phone List \u00c9"), CaseFoldedHash(u"pHONE lIST \u00e9"));
    EXPECT_NE(CaseFoldedHash(u"Anna"), CaseFoldedHash(u"Anne"));
    EXPECT_NE(CaseFoldedHash(u"ab"), CaseFoldedHash(u"ba"));
}

} // namespace
