#pragma once

#include "skin/SkinIni.h"
#include "skin/SkinTypes.h"
#include "skin/SkinValues.h"

#include <QString>

#include <array>
#include <memory>

namespace pixolo
{

// The data classes list each of their keys once, in a static template `keys(visitor, self)`: the key word, the
// field and, where it is not zero or empty, the default. The same list then serves reading a section
// (SkinKeyReader) and writing it back (SkinKeyWriter), so the two can never disagree about a key.
class SkinKeyReader
{
public:
    SkinKeyReader(const SkinIni &ini, const QString &section)
        : m_ini(ini)
        , m_section(section)
    {
    }

    void integer(const char *key, int &field, int def = 0) { field = m_ini.ReadInteger(m_section, word(key), def); }
    void boolean(const char *key, bool &field) { field = ReadBoolean(m_ini, m_section, word(key)); }
    void point(const char *key, TPoint &field) { field = ReadPoint(m_ini, m_section, word(key)); }
    void rect(const char *key, TRect &field) { field = ReadRect(m_ini, m_section, word(key)); }
    void string(const char *key, QString &field, const char *def = "")
    {
        field = m_ini.ReadString(m_section, word(key), QString::fromUtf8(def));
    }
    void fontStyles(const char *key, TFontStyles &field) { field = ReadFontStyles(m_ini, m_section, word(key)); }
    void alignment(const char *key, TAlignment &field) { field = ReadAlignment(m_ini, m_section, word(key)); }
    void morphKind(const char *key, TMorphKind &field) { field = ReadMorphKind(m_ini, m_section, word(key)); }
    void command(const char *key, TbsStdCommand &field);
    void inactiveEffect(const char *key, TbsInActiveEffect &field)
    {
        field = ReadInactiveEffect(m_ini, m_section, word(key));
    }
    // `<prefix>fontname` ("Arial"), `<prefix>fontheight` (14), `<prefix>fontstyle`.
    void font(const char *prefix, QString &name, int &height, TFontStyles &style);

private:
    static QString word(const char *key) { return QString::fromLatin1(key); }

    const SkinIni &m_ini;
    const QString m_section; // a copy: callers may pass a temporary
};

class SkinKeyWriter
{
public:
    SkinKeyWriter(SkinIni &ini, const QString &section)
        : m_ini(ini)
        , m_section(section)
    {
    }

    void integer(const char *key, const int &field, int = 0) { m_ini.WriteInteger(m_section, word(key), field); }
    void boolean(const char *key, const bool &field) { WriteBoolean(m_ini, m_section, word(key), field); }
    void point(const char *key, const TPoint &field) { WritePoint(m_ini, m_section, word(key), field); }
    void rect(const char *key, const TRect &field) { WriteRect(m_ini, m_section, word(key), field); }
    void string(const char *key, const QString &field, const char * = "")
    {
        m_ini.WriteString(m_section, word(key), field);
    }
    void fontStyles(const char *key, const TFontStyles &field) { WriteFontStyles(m_ini, m_section, word(key), field); }
    void alignment(const char *key, const TAlignment &field) { WriteAlignment(m_ini, m_section, word(key), field); }
    void morphKind(const char *key, const TMorphKind &field) { WriteMorphKind(m_ini, m_section, word(key), field); }
    void command(const char *key, const TbsStdCommand &field);
    void inactiveEffect(const char *key, const TbsInActiveEffect &field)
    {
        WriteInactiveEffect(m_ini, m_section, word(key), field);
    }
    void font(const char *prefix, const QString &name, const int &height, const TFontStyles &style);

private:
    static QString word(const char *key) { return QString::fromLatin1(key); }

    SkinIni &m_ini;
    const QString m_section; // a copy: callers may pass a temporary
};

// The words of the frame commands: "cmclose" 0 … "cmrollup" 5, compared exactly; any other word is 6.
TbsStdCommand parseSkinCommand(const QString &word);
QString skinCommandWord(TbsStdCommand command);

// What every skin data object is: an entry of [SKINOBJECTS] or [SKINCONTROLS] named IDName, reading its keys
// from the section of that name and writing them back.
class SkinDataEntry
{
public:
    explicit SkinDataEntry(const QString &name)
        : IDName(name)
    {
    }
    virtual ~SkinDataEntry() = default;
    SkinDataEntry(const SkinDataEntry &) = delete;
    SkinDataEntry &operator=(const SkinDataEntry &) = delete;

    // Reads the keys of the class and of its bases, the bases' first.
    virtual void LoadData(const SkinIni &) { }
    // Erases the section, then writes the keys the same way.
    virtual void SaveData(SkinIni &ini) const { ini.EraseSection(IDName); }
    // The type word that makes the class, or "" for a class that is only a base.
    virtual const char *TypeWord() const { return ""; }

    QString IDName;
};

// Gives a data class the LoadData/SaveData pair of its own keys: the base's keys first, then Self::keys.
// Self names its type word as `static constexpr const char *s_typeWord`.
template <class Self, class Base> class SkinKeyed : public Base
{
public:
    using Base::Base;

    void LoadData(const SkinIni &ini) override
    {
        Base::LoadData(ini);
        SkinKeyReader reader(ini, this->IDName);
        Self::keys(reader, static_cast<Self &>(*this));
    }

    void SaveData(SkinIni &ini) const override
    {
        Base::SaveData(ini);
        SkinKeyWriter writer(ini, this->IDName);
        Self::keys(writer, static_cast<const Self &>(*this));
    }

    const char *TypeWord() const override { return Self::s_typeWord; }
};

// A copy of an entry, for a holder that must keep it through a reload of its store (entries are not copyable: the
// store owns its own): its keys written out and read back into a new entry of the same class.
template <class Entry> std::unique_ptr<Entry> cloneSkinEntry(const Entry &entry)
{
    SkinIni ini;
    entry.SaveData(ini);
    auto copy = std::make_unique<Entry>(entry.IDName);
    copy->LoadData(ini);
    return copy;
}

// The animation strip keys of captions and menu items.
template <class V, class S> void animationKeys(V &v, S &s)
{
    v.rect("animateskinrect", s.animateskinrect);
    v.integer("framecount", s.framecount);
    v.integer("animateinterval", s.animateinterval, 25);
    v.boolean("inactiveanimation", s.inactiveanimation);
}

// One row of a type-word table: the word and how to make the data object of its class.
template <class Root> struct SkinClassEntry {
    const char *word;
    std::unique_ptr<Root> (*make)(const QString &name);
};

// The table of the classes Ts, made from their type words.
template <class Root, class... Ts> constexpr std::array<SkinClassEntry<Root>, sizeof...(Ts)> skinClassTable()
{
    return { SkinClassEntry<Root> {
        Ts::s_typeWord, [](const QString &name) -> std::unique_ptr<Root> { return std::make_unique<Ts>(name); } }... };
}

// The object of the class whose word equals typeWord exactly, or null.
template <class Root, size_t N>
std::unique_ptr<Root> createSkinData(
    const std::array<SkinClassEntry<Root>, N> &table, const QString &typeWord, const QString &name)
{
    for (const SkinClassEntry<Root> &e : table) {
        if (typeWord == QLatin1String(e.word)) {
            return e.make(name);
        }
    }
    return nullptr;
}

} // namespace pixolo
