#pragma once

#include <QPointer>
#include <QWidget>

#include <cstdint>

namespace pixolo
{

class TbsCompressedStoredSkin;
class TbsSkinButton;
class TbsSkinData;
class TbsSkinForm;
class TbsSkinLabel;
class TbsSkinPanel;
class TbsSkinStdLabel;

// The About window: product name and version, description lines and the web address as a link. Made hidden at
// start-up, shown (not modally) by the main window's About button, hidden again by a click on its own area, its OK
// button or Esc. Every text is decoded afresh each time it is shown.
class TfrmAbout final : public QWidget
{
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget *parent = nullptr);
    ~TfrmAbout() override;

    // Which product's title and version to show, 1 to 6; this program's own entry is 2.
    std::uint8_t ProductIndex() const { return m_productIndex; }
    void SetProductIndex(std::uint8_t value) { m_productIndex = value; }

    void Label4Click(QObject *sender);

    TbsSkinPanel *bsSkinPanel1 = nullptr;
    TbsSkinLabel *Label1 = nullptr;
    TbsSkinLabel *Label2 = nullptr;
    TbsSkinLabel *Label3 = nullptr;
    TbsSkinLabel *Label5 = nullptr;
    TbsSkinLabel *Label4 = nullptr;
    TbsSkinPanel *bsSkinPanel2 = nullptr;
    TbsSkinPanel *bsSkinPanel3 = nullptr;
    TbsSkinPanel *bsSkinPanel4 = nullptr;
    TbsSkinButton *bsSkinButton1 = nullptr;
    TbsSkinPanel *bsSkinPanel5 = nullptr;
    TbsSkinStdLabel *bsSkinStdLabel1 = nullptr;
    TbsSkinStdLabel *Label6 = nullptr;
    TbsSkinStdLabel *Label7 = nullptr;
    TbsSkinStdLabel *Label8 = nullptr;
    TbsSkinStdLabel *Label00 = nullptr;
    TbsSkinStdLabel *Label9 = nullptr;
    TbsSkinStdLabel *Label01 = nullptr;
    TbsSkinForm *bsSkinForm1 = nullptr;
    TbsSkinData *bsSkinData1 = nullptr;
    TbsCompressedStoredSkin *bsCompressedStoredSkin1 = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool isOwnArea(const QPoint &at) const;
    void FormShow();

    std::uint8_t m_productIndex = 0;
    bool m_ownAreaPressed = false; // the left button went down on the window's own area
};

extern QPointer<TfrmAbout> frmAbout;

} // namespace pixolo
