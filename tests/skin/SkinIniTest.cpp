// The description's INI dialect and its value readers and writers.
#include "SkinContainer.h"

#include "platform/EConvertError.h"
#include "skin/SkinIni.h"
#include "skin/SkinValues.h"

#include <gtest/gtest.h>

#include <climits>

using namespace pixolo;
using pixolo::test::ini;

namespace
{

const QString S = QStringLiteral("S");

} // namespace

TEST(SkinIniTest, TrimsLinesAndSkipsCommentsBlankLinesAndLinesWithoutEquals)
{
    const SkinIni d = ini({ "orphan=before any section", "  [ S ]  ", "", "; key=comment", "  key =  a value  ",
        "no equals sign", "url=a=b=c" });
    EXPECT_EQ(d.ReadString(S, "key", "-"), "a value");
    EXPECT_EQ(d.ReadString(S, "url", "-"), "a=b=c"); // split at the first '='
    EXPECT_EQ(d.ReadString(S, "orphan", "-"), "-");
    EXPECT_EQ(d.ReadString(S, "; key", "-"), "-");
    EXPECT_EQ(d.Sections(), QStringList { "S" });
}

TEST(SkinIniTest, NamesIgnoreCaseAndTheFirstOccurrenceWins)
{
    const SkinIni d = ini({ "[MenuItem]", "unenabledfontColor=1", "UNENABLEDFONTCOLOR=2", "[menuitem]", "other=3" });
    EXPECT_EQ(d.ReadInteger("MENUITEM", "unenabledfontcolor", 0), 1);
    EXPECT_FALSE(d.ValueExists("menuitem", "other")); // the repeated section is not read at all
}

TEST(SkinIniTest, SplitsLinesAtAnyLineBreakWithOrWithoutAFinalOne)
{
    const QStringList expected { "a", "", "b", "c" };
    EXPECT_EQ(SkinIni::splitLines("a\r\n\rb\nc\r\n"), expected);
    EXPECT_EQ(SkinIni::splitLines("a\r\n\rb\nc"), expected);
    EXPECT_EQ(SkinIni::splitLines(""), QStringList());
}

TEST(SkinIniTest, WritesReplaceKeysAndSurviveARoundTrip)
{
    SkinIni d = ini({ "[S]", "Key=1" });
    d.WriteString(S, "key", "2");
    d.WriteInteger("T", "n", -7);
    EXPECT_EQ(d.GetStrings(), (QStringList { "[S]", "Key=2", "", "[T]", "n=-7", "" }));
    const SkinIni again(d.GetStrings());
    EXPECT_EQ(again.ReadInteger("t", "N", 0), -7);
    d.EraseSection("s");
    EXPECT_FALSE(d.SectionExists(S));
    EXPECT_EQ(d.ReadInteger("T", "n", 0), -7); // the index of the sections behind it is kept right
}

struct IntegerCase {
    const char *text;
    int expected; // 99 is the default, returned for anything that is not an integer
};

class SkinIntegerTest : public testing::TestWithParam<IntegerCase>
{
};

TEST_P(SkinIntegerTest, ReadsSignedDecimalOrHexadecimalElseTheDefault)
{
    const IntegerCase c = GetParam();
    const SkinIni d = ini({ "[S]", (std::string("v=") + c.text).c_str() });
    EXPECT_EQ(d.ReadInteger(S, "v", 99), c.expected) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Syntax, SkinIntegerTest,
    testing::Values(IntegerCase { "12", 12 }, IntegerCase { "-5", -5 }, IntegerCase { "+7", 7 },
        IntegerCase { "$1F", 31 }, IntegerCase { "0x1f", 31 }, IntegerCase { "0X1F", 31 }, IntegerCase { "-$10", -16 },
        IntegerCase { "$FF00000F", int(0xFF00000Fu) }, IntegerCase { "2147483647", INT_MAX },
        IntegerCase { "-2147483648", INT_MIN }, IntegerCase { "2147483648", 99 }, IntegerCase { "$100000000", 99 },
        IntegerCase { "", 99 }, IntegerCase { "12a", 99 }, IntegerCase { "0x", 99 }, IntegerCase { "$", 99 },
        IntegerCase { "1 2", 99 }, IntegerCase { "--1", 99 }));

TEST(SkinValuesTest, PointsAndRectanglesKeepOnlyTheDigitsOfEachPiece)
{
    EXPECT_EQ(ParseRect("-5,3,10,20"), (TRect { 5, 3, 10, 20 }));
    EXPECT_EQ(ParsePoint("12 , 5"), (TPoint { 12, 5 }));
    EXPECT_EQ(ParsePoint("x1y,2z"), (TPoint { 1, 2 }));
    EXPECT_EQ(ParseRect("1,2,3,4,garbage,6"), (TRect { 1, 2, 3, 4 })); // pieces beyond the four are not read
}

TEST(SkinValuesTest, APieceWithoutDigitsOrAMissingPieceIsAConversionError)
{
    const auto message = [](const char *text) {
        try {
            ParseRect(text);
        } catch (const EConvertError &e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(message("0,0,0,"), "'' is not a valid integer value");
    EXPECT_EQ(message("0,0,0"), "'' is not a valid integer value"); // never reads past the list
    EXPECT_EQ(message("1,-,3,4"), "'' is not a valid integer value");
    EXPECT_EQ(message("1,2,3,99999999999"), "'99999999999' is not a valid integer value");
    EXPECT_THROW(ParsePoint("7"), EConvertError);
    const SkinIni d = ini({ "[S]", "r=", "p=1,2" });
    EXPECT_THROW(ReadRect(d, S, "r"), EConvertError); // a present but empty value is read, and fails
    EXPECT_EQ(ReadRect(d, S, "missing"), TRect {});
    EXPECT_EQ(ReadPoint(d, S, "p"), (TPoint { 1, 2 }));
}

TEST(SkinValuesTest, WordValuesCompareExactlyWhileKeyNamesDoNot)
{
    const SkinIni d
        = ini({ "[S]", "B1=1", "b2=2", "f1=fsBold", "f2=fsbold,fsunderline", "f3=xfsitalicx", "a1=taleftjustify",
            "a2=tacenter", "a3=tarightjustify", "a4=TACENTER", "m1=mkpush", "m2=MKPUSH", "e1=iesepia", "e2=ieinvert" });
    EXPECT_TRUE(ReadBoolean(d, S, "b1"));
    EXPECT_FALSE(ReadBoolean(d, S, "b2"));
    EXPECT_FALSE(ReadBoolean(d, S, "b3"));
    EXPECT_EQ(ReadFontStyles(d, S, "f1"), 0);
    EXPECT_EQ(ReadFontStyles(d, S, "f2"), fsBold | fsUnderline);
    EXPECT_EQ(ReadFontStyles(d, S, "f3"), fsItalic);
    EXPECT_EQ(ReadAlignment(d, S, "a1"), taLeftJustify);
    EXPECT_EQ(ReadAlignment(d, S, "a2"), taCenter);
    EXPECT_EQ(ReadAlignment(d, S, "a3"), taRightJustify);
    EXPECT_EQ(ReadAlignment(d, S, "a4"), taRightJustify);
    EXPECT_EQ(ReadAlignment(d, S, "missing"), taCenter);
    EXPECT_EQ(ReadMorphKind(d, S, "m1"), mkPush);
    EXPECT_EQ(ReadMorphKind(d, S, "m2"), mkDefault);
    EXPECT_EQ(ReadInactiveEffect(d, S, "e1"), ieGrayscale);
    EXPECT_EQ(ReadInactiveEffect(d, S, "e2"), ieInvert);
    EXPECT_EQ(ReadInactiveEffect(d, S, "missing"), ieBrightness);
}

TEST(SkinValuesTest, ReadStringsAppendsTheNumberedKeys)
{
    const SkinIni d = ini({ "[PICTURES]", "activepicturescount=2", "0=a.bmp", "1=b.bmp", "2=not counted" });
    QStringList names { "kept" };
    ReadStrings(d, "PICTURES", "activepictures", names);
    EXPECT_EQ(names, (QStringList { "kept", "a.bmp", "b.bmp" }));
    QStringList none;
    ReadStrings(d, "PICTURES", "other", none);
    EXPECT_TRUE(none.isEmpty());
}

// Regression: a count of two billion spun for minutes and filled memory with empty names.
TEST(SkinValuesTest, ReadStringsStopsAfterTheLastNumberedKeyWhateverTheCount)
{
    const SkinIni d = ini({ "[P]", "activepicturescount=2000000000", "0=a", "2=c", "x9=not a number", "-5=no" });
    QStringList names;
    ReadStrings(d, "P", "activepictures", names);
    EXPECT_EQ(names, (QStringList { "a", "", "c" })); // a hole inside the list still reads as an empty name
    EXPECT_EQ(d.NumberedKeyLimit("P"), 3);
    EXPECT_EQ(d.NumberedKeyLimit("missing"), 0);
}

TEST(SkinValuesTest, WritersWriteWhatTheReadersRead)
{
    SkinIni d;
    WriteRect(d, S, "r", { 1, 2, 3, 4 });
    WritePoint(d, S, "p", { 5, 6 });
    WriteBoolean(d, S, "b", true);
    WriteFontStyles(d, S, "f", fsStrikeOut | fsBold);
    WriteFontStyles(d, S, "none", 0);
    WriteAlignment(d, S, "a", taRightJustify);
    WriteMorphKind(d, S, "m", mkLeftSlide);
    WriteInactiveEffect(d, S, "e", ieNoise);
    EXPECT_EQ(d.GetStrings(),
        (QStringList { "[S]", "r=1,2,3,4", "p=5,6", "b=1", "f=fsbold,fsstrikeout", "none=", "a=tarightjustify",
            "m=mkleftslide", "e=ienoise", "" }));
    EXPECT_EQ(ReadFontStyles(d, S, "f"), fsStrikeOut | fsBold);
    EXPECT_EQ(ReadAlignment(d, S, "a"), taRightJustify);
    EXPECT_EQ(ReadMorphKind(d, S, "m"), mkLeftSlide);
    EXPECT_EQ(ReadInactiveEffect(d, S, "e"), ieNoise);
}
