// The font set against a desktop's fonts and rules: each name of the skin and the windows is drawn by its chosen
// family, and Chinese texts by the chosen CJK family, in the C locale and in the Chinese one (where the machine's rules
// prefer another CJK family, and some names become that family altogether).
#include "platform/FontSet.h"

#include "RunCommand.h"

#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace pixolo;

namespace
{

class FontSetLocaleTest : public testing::TestWithParam<const char *>
{
};

TEST_P(FontSetLocaleTest, EveryNameResolvesToItsChosenFamilyAndChineseToTheCjkFamily)
{
    const QString locale = QString::fromLatin1(GetParam());
    const QTemporaryDir home; // no user's font settings
    ASSERT_TRUE(home.isValid());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("FONTCONFIG_FILE"), QStringLiteral(PIXOLO_DESKTOP_FONTCONFIG));
    env.insert(QStringLiteral("LANG"), locale);
    env.insert(QStringLiteral("LC_ALL"), locale);
    env.remove(QStringLiteral("LANGUAGE"));
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    int code = -1;
    const QStringList lines
        = test::runCommand(QStringLiteral(PIXOLO_FONT_PROBE), {}, env, 30000, &code).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(code, 0);
    ASSERT_EQ(lines.size(), 1 + 2 * qsizetype(kFontStandIns.size())) << lines.join('\n').toStdString();
    // The probe really ran in the locale asked for.
    EXPECT_EQ(lines.first(), QStringLiteral("locale\t") + locale.section('.', 0, 0));

    const QString cjk = QString::fromLatin1(kCjkFamily);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        // name, weight, the font chosen, the font drawing "Ab", the font drawing a Chinese text
        const QStringList fields = lines[i].split('\t');
        ASSERT_EQ(fields.size(), 5) << lines[i].toStdString();
        const FontStandIn &standIn = kFontStandIns[size_t(i - 1) / 2];
        const QString family = QString::fromLatin1(standIn.family);
        SCOPED_TRACE(lines[i].toStdString());
        EXPECT_EQ(fields[0], QString::fromLatin1(standIn.name));
        EXPECT_EQ(fields[2], family);
        EXPECT_EQ(fields[3], family);
        EXPECT_EQ(fields[4], cjk);
    }
}

INSTANTIATE_TEST_SUITE_P(Locales, FontSetLocaleTest, testing::Values("C.UTF-8", "zh_CN.UTF-8"));

TEST(FontSetTest, NamesMatchWithoutRegardToCaseAndUnknownNamesHaveNoStandIn)
{
    const QStringList arial = fontFamiliesFor(QStringLiteral("Arial"));
    EXPECT_EQ(arial, QStringList({ QStringLiteral("Liberation Sans"), QString::fromLatin1(kCjkFamily) }));
    EXPECT_EQ(fontFamiliesFor(QStringLiteral("ms sans serif")), fontFamiliesFor(QStringLiteral("MS Sans Serif")));
    EXPECT_TRUE(fontFamiliesFor(QStringLiteral("Tahoma")).isEmpty());
    EXPECT_TRUE(fontFamiliesFor(QString()).isEmpty());
}

} // namespace
