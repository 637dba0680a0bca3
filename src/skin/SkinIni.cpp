#include "skin/SkinIni.h"

#include "skin/SkinValues.h"

#include <algorithm>
#include <climits>

namespace pixolo
{

QStringList SkinIni::splitLines(QByteArrayView utf8)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = utf8.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char c = utf8[i];
        if (c != '\r' && c != '\n') {
            continue;
        }
        lines.append(QString::fromUtf8(utf8.sliced(start, i - start)));
        if (c == '\r' && i + 1 < size && utf8[i + 1] == '\n') {
            ++i;
        }
        start = i + 1;
    }
    if (start < size) {
        lines.append(QString::fromUtf8(utf8.sliced(start)));
    }
    return lines;
}

void SkinIni::SetStrings(const QStringList &lines)
{
    m_sections.clear();
    m_sectionIndex.clear();
    Section *current = nullptr;
    bool currentCounts = false; // a repeated section's keys are dropped: the first section counts
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(u';')) {
            continue;
        }
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            const QString name = line.mid(1, line.size() - 2).trimmed();
            const QString folded = name.toLower();
            currentCounts = !m_sectionIndex.contains(folded);
            if (currentCounts) {
                m_sectionIndex.insert(folded, int(m_sections.size()));
                m_sections.push_back(Section { name, {}, {} });
                current = &m_sections.back();
            } else {
                current = nullptr;
            }
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (!current || !currentCounts || eq < 0) {
            continue;
        }
        const QString key = line.left(eq).trimmed();
        const QString folded = key.toLower();
        if (current->index.contains(folded)) {
            continue;
        }
        current->index.insert(folded, int(current->keys.size()));
        current->keys.emplace_back(key, line.mid(eq + 1).trimmed());
    }
}

QStringList SkinIni::GetStrings() const
{
    QStringList lines;
    for (const Section &section : m_sections) {
        lines.append(u'[' + section.name + u']');
        for (const auto &[key, value] : section.keys) {
            lines.append(key + u'=' + value);
        }
        lines.append(QString());
    }
    return lines;
}

QStringList SkinIni::Sections() const
{
    QStringList names;
    for (const Section &section : m_sections) {
        names.append(section.name);
    }
    return names;
}

int SkinIni::NumberedKeyLimit(const QString &section) const
{
    const Section *s = findSection(section);
    int limit = 0;
    if (!s) {
        return limit;
    }
    for (const auto &entry : s->keys) {
        bool ok = false;
        const int n = entry.first.toInt(&ok, 10);
        if (ok && n >= 0 && n < INT_MAX && !entry.first.startsWith(u'+') && !entry.first.startsWith(u'-')) {
            limit = std::max(limit, n + 1);
        }
    }
    return limit;
}

const SkinIni::Section *SkinIni::findSection(const QString &section) const
{
    const auto it = m_sectionIndex.constFind(section.toLower());
    return it == m_sectionIndex.cend() ? nullptr : &m_sections[size_t(*it)];
}

bool SkinIni::ValueExists(const QString &section, const QString &key) const
{
    const Section *s = findSection(section);
    return s && s->index.contains(key.toLower());
}

QString SkinIni::ReadString(const QString &section, const QString &key, const QString &def) const
{
    const Section *s = findSection(section);
    if (!s) {
        return def;
    }
    const auto it = s->index.constFind(key.toLower());
    return it == s->index.cend() ? def : s->keys[size_t(*it)].second;
}

int SkinIni::ReadInteger(const QString &section, const QString &key, int def) const
{
    return parseSkinInteger(ReadString(section, key, QString())).value_or(def);
}

SkinIni::Section &SkinIni::sectionForWrite(const QString &section)
{
    const QString folded = section.toLower();
    const auto it = m_sectionIndex.constFind(folded);
    if (it != m_sectionIndex.cend()) {
        return m_sections[size_t(*it)];
    }
    m_sectionIndex.insert(folded, int(m_sections.size()));
    m_sections.push_back(Section { section, {}, {} });
    return m_sections.back();
}

void SkinIni::WriteString(const QString &section, const QString &key, const QString &value)
{
    Section &s = sectionForWrite(section);
    const QString folded = key.toLower();
    const auto it = s.index.constFind(folded);
    if (it != s.index.cend()) {
        s.keys[size_t(*it)].second = value;
        return;
    }
    s.index.insert(folded, int(s.keys.size()));
    s.keys.emplace_back(key, value);
}

void SkinIni::WriteInteger(const QString &section, const QString &key, int value)
{
    WriteString(section, key, QString::number(value));
}

void SkinIni::EraseSection(const QString &section)
{
    const auto it = m_sectionIndex.constFind(section.toLower());
    if (it == m_sectionIndex.cend()) {
        return;
    }
    m_sections.erase(m_sections.begin() + *it);
    rebuildSectionIndex();
}

void SkinIni::rebuildSectionIndex()
{
    m_sectionIndex.clear();
    for (size_t i = 0; i < m_sections.size(); ++i) {
        m_sectionIndex.insert(m_sections[i].name.toLower(), int(i));
    }
}

} // namespace pixolo
