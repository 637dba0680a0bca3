#include "skin/SkinKeys.h"

#include <array>

namespace pixolo
{

namespace
{

constexpr std::array<const char *, 6> s_commandWords
    = { "cmclose", "cmmaximize", "cmminimize", "cmsysmenu", "cmdefault", "cmrollup" };

QString prefixed(const char *prefix, const char *key)
{
    return QString::fromLatin1(prefix) + QString::fromLatin1(key);
}

} // namespace

TbsStdCommand parseSkinCommand(const QString &word)
{
    const int i = skinWordIndex(word, s_commandWords);
    return i < 0 ? cmMinimizeToTray : TbsStdCommand(i);
}

QString skinCommandWord(TbsStdCommand command)
{
    if (command >= cmClose && command <= cmRollUp) {
        return QString::fromLatin1(s_commandWords[size_t(command)]);
    }
    return QStringLiteral("cmminimizetotray");
}

void SkinKeyReader::command(const char *key, TbsStdCommand &field)
{
    field = parseSkinCommand(m_ini.ReadString(m_section, word(key), QStringLiteral("cmdefault")));
}

void SkinKeyReader::font(const char *prefix, QString &name, int &height, TFontStyles &style)
{
    name = m_ini.ReadString(m_section, prefixed(prefix, "fontname"), QStringLiteral("Arial"));
    height = m_ini.ReadInteger(m_section, prefixed(prefix, "fontheight"), 14);
    style = ReadFontStyles(m_ini, m_section, prefixed(prefix, "fontstyle"));
}

void SkinKeyWriter::command(const char *key, const TbsStdCommand &field)
{
    m_ini.WriteString(m_section, word(key), skinCommandWord(field));
}

void SkinKeyWriter::font(const char *prefix, const QString &name, const int &height, const TFontStyles &style)
{
    m_ini.WriteString(m_section, prefixed(prefix, "fontname"), name);
    m_ini.WriteInteger(m_section, prefixed(prefix, "fontheight"), height);
    WriteFontStyles(m_ini, m_section, prefixed(prefix, "fontstyle"), style);
}

} // namespace pixolo
