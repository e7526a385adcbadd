#pragma once

#include <QImage>
#include <QString>
#include <optional>

// A cover named by an album's "coverUrl", fetched (redirects followed, http and https only)
// and decoded the way a search keeps covers.
struct CoverDownload {
    std::optional<QImage> image;
    QString failure;      // why there is no image, when there is none
    bool damaged = false; // the picture came, but ends early

    static CoverDownload fetch(const QString &url);
};
