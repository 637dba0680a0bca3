#pragma once

#include <QObject>
#include <QStringList>

namespace pixolo
{

// Replaceable user-interface texts: lines "NAME=text". A new component holds the 117 built-in lines (system menu
// captions, caption button hints, edit menu items, dialog texts); assigning ResStrings replaces them.
class TbsResourceStrData final : public QObject
{
    Q_OBJECT
public:
    explicit TbsResourceStrData(QObject *parent = nullptr);

    const QStringList &ResStrings() const { return m_resStrings; }
    void SetResStrings(const QStringList &lines) { m_resStrings = lines; }
    // The font character set the texts need; 1 is the default character set.
    int CharSet() const { return m_charSet; }
    void SetCharSet(int charSet) { m_charSet = charSet; }

    // The text after the first '=' of the first line whose name matches without regard to case; empty if none.
    QString GetResourceString(const QString &name) const;

    static QStringList defaultStrings();

private:
    QStringList m_resStrings;
    int m_charSet = 1;
};

} // namespace pixolo
