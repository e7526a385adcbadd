#pragma once

#include <QString>

// Where the tests find the built programs, the source tree and their data files.
inline QString binDir() { return QStringLiteral(TAGWRIGHT_BIN_DIR); }
inline QString sourceDir() { return QStringLiteral(TAGWRIGHT_SOURCE_DIR); }
inline QString testDataDir() { return QStringLiteral(TAGWRIGHT_TEST_DATA_DIR); }
