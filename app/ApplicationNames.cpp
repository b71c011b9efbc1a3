#include "ApplicationNames.h"

#include <QCoreApplication>
#include <QSettings>

namespace pw {

void registerApplicationNames()
{
    QCoreApplication::setOrganizationName(QString::fromLatin1(organisationName));
    QCoreApplication::setOrganizationDomain(QString::fromLatin1(organisationDomain));
    QCoreApplication::setApplicationName(QString::fromLatin1(applicationName));
}

}  // namespace pw

namespace pw {

std::unique_ptr<QSettings> openSettingsStore(QObject* parent)
{
    return std::make_unique<QSettings>(QSettings::defaultFormat(), QSettings::UserScope,
                                       QString::fromLatin1(organisationName),
                                       QString::fromLatin1(settingsApplicationName), parent);
}

}  // namespace pw
