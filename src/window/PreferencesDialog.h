#pragma once

#include "search/ServiceConfig.h"

#include <QDialog>

class QFormLayout;
class QLineEdit;

// Edits the catalogue service's credentials (the secret masked unless shown), the four
// storefront hosts and the MusicBrainz and Cover Art Archive addresses in the user's settings. An environment variable set for a value wins over what is stored here, and the
// dialog says so beside that value.
class PreferencesDialog : public QDialog {
    Q_OBJECT
public:
    explicit PreferencesDialog(QWidget *parent = nullptr);

    // Writes the fields into the settings: a filled field is stored, an empty one removed,
    // so that the built-in default answers again.
    void save();

private:
    void addSecretToggle(QFormLayout *form, QLineEdit *secret);

    struct Setting {
        ServiceSetting setting;
        QLineEdit *field;
        bool isAddress; // a base URL, kept without a trailing "/"
    };
    QList<Setting> m_settings;
};
