#include "app/PixoloApplication.h"

#include <QAbstractButton>
#include <QLocale>
#include <QMessageBox>

#include <gtest/gtest.h>

using namespace pixolo;

namespace
{

QString okButtonText()
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("快拍宝"), QStringLiteral("text"), QMessageBox::Ok);
    return box.button(QMessageBox::Ok)->text();
}

} // namespace

TEST(QtTranslationsTest, QtsOwnBoxesSpeakTheUsersLanguage)
{
    ASSERT_TRUE(PixoloApplication::loadQtTranslations(QLocale(QLocale::Chinese, QLocale::China)))
        << "qt6-translations-l10n is not installed";
    EXPECT_EQ(okButtonText(), QStringLiteral("确定"));
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Find Directory"), QStringLiteral("查找目录"));

    // A language Qt speaks by itself needs no catalogue, and the earlier one goes.
    EXPECT_FALSE(PixoloApplication::loadQtTranslations(QLocale::c()));
    EXPECT_EQ(okButtonText().remove(QLatin1Char('&')), QStringLiteral("OK"));
}
