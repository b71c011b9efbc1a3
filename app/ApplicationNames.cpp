#include "ApplicationNames.h"

#include <QCoreApplication>

namespace pw {

void registerApplicationNames()
{
    QCoreApplication::setOrganizationName(QString::fromLatin1(organisationName));
    QCoreApplication::setOrganizationDomain(QString::fromLatin1(organisationDomain));
    QCoreApplication::setApplicationName(QString::fromLatin1(applicationName));
}

}  // namespace pw
