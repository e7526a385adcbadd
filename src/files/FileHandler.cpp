#include "files/FileHandler.h"

#include "common/StatusNotification.h"

void FileHandler::sendStatusChange(const QString &message)
{
    postStatusChange(this, message);
}
