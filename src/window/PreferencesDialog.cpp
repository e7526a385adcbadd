#include "window/PreferencesDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QVBoxLayout>

PreferencesDialog::PreferencesDialog(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(tr("Service settings"));
    auto *layout = new QVBoxLayout(this);
    auto *intro = new QLabel(tr("Credentials issued by the catalogue service and the host of each storefront. "
                                "Leave a field empty to use the built-in value. Without credentials, "
                                "Tagwright searches its bundled demo catalogue."),
                             this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto *form = new QFormLayout;
    layout->addLayout(form);
    const struct {
        const char *key;
        const char *environment;
        QString label;
        bool secret;
    } rows[] = {
        {"Service/AccessKey", "TAGWRIGHT_ACCESS_KEY", tr("Access key:"), false},
        {"Service/SecretKey", "TAGWRIGHT_SECRET_KEY", tr("Secret key:"), true},
        {"Service/Host/de", "TAGWRIGHT_HOST_DE", tr("Host Germany:"), false},
        {"Service/Host/co.uk", "TAGWRIGHT_HOST_CO_UK", tr("Host United Kingdom:"), false},
        {"Service/Host/fr", "TAGWRIGHT_HOST_FR", tr("Host France:"), false},
        {"Service/Host/com", "TAGWRIGHT_HOST_COM", tr("Host United States:"), false},
    };
    QSettings settings(QStringLiteral("Tagwright"), QStringLiteral("Tagwright"));
    for (const auto &row : rows) {
        auto *field = new QLineEdit(settings.value(QString::fromLatin1(row.key)).toString(), this);
        field->setObjectName(QString::fromLatin1(row.key));
        if (row.secret)
            field->setEchoMode(QLineEdit::PasswordEchoOnEdit);
        field->setMinimumWidth(320);
        const QString environment = QString::fromLatin1(row.environment);
        if (!qEnvironmentVariableIsEmpty(row.environment))
            field->setToolTip(tr("%1 is set in the environment and wins over this value").arg(environment));
        else
            field->setToolTip(tr("Stored in the settings; %1 in the environment would win").arg(environment));
        form->addRow(row.label, field);
        m_settings.append({QString::fromLatin1(row.key), environment, field});
    }

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        save();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void PreferencesDialog::save()
{
    QSettings settings(QStringLiteral("Tagwright"), QStringLiteral("Tagwright"));
    for (const Setting &setting : m_settings) {
        const QString value = setting.field->text().trimmed();
        if (value.isEmpty())
            settings.remove(setting.key);
        else
            settings.setValue(setting.key, value);
    }
}
