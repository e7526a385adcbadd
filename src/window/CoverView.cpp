#include "window/CoverView.h"

#include <QPainter>

CoverView::CoverView(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    setMinimumSize(96, 96);
    setMaximumSize(240, 240);
}

void CoverView::setImage(const std::optional<QImage> &image)
{
    m_image = image && !image->isNull() ? image : std::nullopt;
    setToolTip(m_image ? tr("Front cover, %1 x %2 pixels; tagging writes it into the files")
                             .arg(m_image->width()).arg(m_image->height())
                       : tr("No cover: tagging leaves the files' pictures alone"));
    update();
}

QSize CoverView::sizeHint() const
{
    return {160, 160};
}

void CoverView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    if (m_image) {
        const QSize scaled = m_image->size().scaled(frame.size(), Qt::KeepAspectRatio);
        QRect target(QPoint(), scaled);
        target.moveCenter(frame.center());
        painter.drawImage(target, *m_image);
        return;
    }
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(frame);
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(frame, Qt::AlignCenter, tr("No cover"));
}
