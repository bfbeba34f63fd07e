// A message box drawn inside the dialog's window instead of as a window of its own: the
// desktop places and sizes a window of its own, so on a small screen it came out tiny, and
// beside a small window it lay outside it. This one dims the whole window, stands framed in
// its centre at the dialog's type sizes, and keeps every input away from what lies beneath
// until OK is pressed.
//
// A child of the dialog's window, which owns it. Whoever opens it waits for Closed.
#pragma once

#include "platform/qt/Theme.h"

#include <QSize>
#include <QString>
#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;
class CScrollingText;

class CMessageBoxOverlay : public QWidget
{
    Q_OBJECT

public:
    // Sizes that the dialog shows at its present size, for the box to match.
    struct Measures
    {
        int textPixelSize = 14;
        int buttonPixelSize = 14;
        QSize buttonSize; // the least size of OK: that of the dialog's own buttons
    };
    using MeasuresSource = std::function<Measures()>;

    // The text is shown as it stands, never read as markup. `measures` is asked at every
    // layout and must stay callable while the box exists.
    CMessageBoxOverlay(QWidget* window, const QString& caption, const QString& text,
                       MeasuresSource measures);
    ~CMessageBoxOverlay() override;

    // Covers the window and gives OK the focus. From then until Closed, or until it is
    // destroyed, input meant for anything outside the box is dropped.
    void Open();
    // Lays the box out again at the window's present size.
    void Place();
    // The colours of the box, the dimming around it and OK; the day theme's until told
    // otherwise. Must outlive the box.
    void SetColours(const ThemeColours& colours);

    // The framed box and its parts.
    QWidget* Box() const;
    QString Caption() const;
    QString Message() const;
    CScrollingText* MessageView() const;
    QPushButton* OkButton() const;

signals:
    void Closed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void OnOk();
    void OnFocusChanged(QWidget* old, QWidget* now);
    void StopFiltering();

    QString m_message;
    MeasuresSource m_measures;
    QWidget* m_box = nullptr; // children of this widget
    QLabel* m_caption = nullptr;
    CScrollingText* m_view = nullptr;
    QPushButton* m_ok = nullptr;
    const ThemeColours* m_colours = nullptr;
    bool m_filtering = false;
    QMetaObject::Connection m_focusWatch;
};
