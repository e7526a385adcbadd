#pragma once

#include <QImage>
#include <QWidget>
#include <optional>

// Shows the chosen album's front cover, scaled to fit, or a frame saying there is none.
// Keeps the picture itself, since tagging writes exactly what is shown.
class CoverView : public QWidget {
    Q_OBJECT
public:
    explicit CoverView(QWidget *parent = nullptr);

    const std::optional<QImage> &image() const { return m_image; }
    void setImage(const std::optional<QImage> &image);

    QSize sizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return width; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::optional<QImage> m_image;
};
