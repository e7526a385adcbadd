#pragma once

#include <QByteArray>

// Whether the data of a JPEG or PNG picture stops before the marker that ends it (JPEG's EOI,
// PNG's IEND chunk). Qt's decoders fill in what is missing of such a picture, grey for JPEG,
// and only log a warning, so a cut-off download would pass for a whole picture. Other formats
// and data whose structure is broken in other ways are left to the decoder: false.
bool pictureEndsEarly(const QByteArray &bytes);
