#pragma once

#include <QByteArray>
#include <QImage>
#include <optional>

// Decodes a fetched cover picture, refusing pictures whose pixel size is beyond reason, so a
// small compressed file cannot make us allocate gigabytes.
std::optional<QImage> decodeCoverImage(const QByteArray &bytes);
