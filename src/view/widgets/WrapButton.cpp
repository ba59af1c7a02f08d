#include "view/widgets/WrapButton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

#include <algorithm>

namespace {
// The buttons' usual size; room for two lines of text whichever way the label is shown, so that the
// row keeps its height when a label wraps.
constexpr int kUsualWidth = 110;
constexpr int kUsualHeight = 44;
}  // namespace

CWrapButton::CWrapButton(QWidget* parent) : QPushButton(parent) {}

QString CWrapButton::TwoLines(const QString& text) {
    QString best = text;
    qsizetype bestLonger = text.size();
    for (qsizetype i = text.indexOf(QLatin1Char(' ')); i >= 0; i = text.indexOf(QLatin1Char(' '), i + 1)) {
        const qsizetype longer = std::max(i, text.size() - i - 1);
        if (longer < bestLonger) {
            bestLonger = longer;
            best = text.left(i) + QLatin1Char('\n') + text.mid(i + 1);
        }
    }
    return best;
}

QSize CWrapButton::SizeFor(const QString& text) const {
    QStyleOptionButton opt;
    initStyleOption(&opt);
    opt.text = text;
    const QSize textSize = fontMetrics().size(Qt::TextShowMnemonic, text);
    return style()->sizeFromContents(QStyle::CT_PushButton, &opt, textSize, this);
}

QSize CWrapButton::sizeHint() const {
    const QSize one = SizeFor(text()), two = SizeFor(TwoLines(text()));
    return {std::max(one.width(), kUsualWidth), std::max({one.height(), two.height(), kUsualHeight})};
}

QSize CWrapButton::minimumSizeHint() const {
    const QSize two = SizeFor(TwoLines(text()));
    return {two.width(), sizeHint().height()};
}

bool CWrapButton::Wrapped() const { return width() < SizeFor(text()).width(); }

void CWrapButton::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionButton opt;
    initStyleOption(&opt);
    if (Wrapped()) opt.text = TwoLines(opt.text);
    p.drawControl(QStyle::CE_PushButton, opt);
}
