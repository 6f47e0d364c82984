#include "ca/app/common/ElidedLabel.h"

#include <QPainter>

namespace ca::app {

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

QSize ElidedLabel::sizeHint() const {
    return {0, QLabel::sizeHint().height()};
}

QSize ElidedLabel::minimumSizeHint() const {
    return sizeHint();
}

QString ElidedLabel::shownText() const {
    return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width());
}

void ElidedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawText(contentsRect(), static_cast<int>(alignment()), shownText());
}

}  // namespace ca::app
