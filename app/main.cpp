#include "ApplicationNames.h"
#include "Startup.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    pw::registerApplicationNames();
    const pw::StartedWindows windows = pw::startWindows(QApplication::arguments());
    return application.exec();
}
