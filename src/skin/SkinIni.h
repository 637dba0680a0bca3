#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

namespace pixolo
{

// The in-memory INI text of a skin description.
//
// Lines are trimmed; empty lines and lines starting with ';' are skipped; "[name]" opens a section; inside a
// section "key=value" defines a key (both sides trimmed, split at the first '='). Section and key names match
// without regard to case, and the first occurrence of a section or of a key within it is the one that counts.
// Lines before the first section and lines without '=' carry nothing.
class SkinIni
{
public:
    SkinIni() = default;
    explicit SkinIni(const QStringList &lines) { SetStrings(lines); }

    // Splits text at CR LF, CR or LF; a final line break adds no empty line.
    static QStringList splitLines(QByteArrayView utf8);

    void SetStrings(const QStringList &lines);
    // The description as lines: every section with its keys, in order.
    QStringList GetStrings() const;

    bool SectionExists(const QString &section) const { return findSection(section) != nullptr; }
    bool ValueExists(const QString &section, const QString &key) const;
    QStringList Sections() const;
    // One past the highest key of the section named by a plain decimal number ("0", "1", …), 0 without any:
    // numbered lists stop there, whatever their count says.
    int NumberedKeyLimit(const QString &section) const;

    QString ReadString(const QString &section, const QString &key, const QString &def) const;
    // An optional sign and decimal digits, or hexadecimal digits after "$" or "0x"; anything else gives def.
    int ReadInteger(const QString &section, const QString &key, int def) const;

    void WriteString(const QString &section, const QString &key, const QString &value);
    void WriteInteger(const QString &section, const QString &key, int value);
    void EraseSection(const QString &section);

private:
    struct Section {
        QString name;
        std::vector<std::pair<QString, QString>> keys;
        QHash<QString, int> index; // lower-case key → position in keys (first occurrence)
    };

    const Section *findSection(const QString &section) const;
    Section &sectionForWrite(const QString &section);
    void rebuildSectionIndex();

    std::vector<Section> m_sections;
    QHash<QString, int> m_sectionIndex; // lower-case name → position in m_sections (first occurrence)
};

} // namespace pixolo
