#pragma once

#include <QFrame>

class QPushButton;

namespace webview {

// A word of the program's own over a web view: either covering it whole,
// with an optional button, or as one line along its top edge, leaving the
// page below readable. It follows the view's geometry.
class ViewNotice : public QFrame
{
    Q_OBJECT
public:
    enum Placement { CoverView, TopLine };

    // `covered` is a sibling under the same parent; an empty `buttonText`
    // makes no button. The children are named `name` + "Text" and + "Button"
    // unless `buttonName` is given.
    ViewNotice(QWidget* covered, const QString& name, const QString& text,
               const QString& buttonText, Placement placement, const QString& buttonName = {});

    void ShowOver();
    QPushButton* button() const { return FButton; }

signals:
    void ButtonClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FollowCovered();

    QWidget* FCovered;
    Placement FPlacement;
    QPushButton* FButton = nullptr;
};

} // namespace webview
