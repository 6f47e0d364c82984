#pragma once
// A one-line label that never asks for more room than it is given: it takes what its layout leaves
// and shows as much of its text as fits, ending in "…" when cut. text() and the tool tip keep the
// whole text. For a progress text that must not push a button out of a toolbar.
#include <QLabel>

namespace ca::app {

class ElidedLabel : public QLabel {
    Q_OBJECT

public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // The text as painted in the label's present width.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace ca::app
