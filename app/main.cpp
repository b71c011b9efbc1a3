#include "ApplicationNames.h"
#include "IncomingTrackFile.h"
#include "PlanCoordinator.h"
#include "frmMain.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    pw::registerApplicationNames();

    frmMain window;
    window.show();
    const PlanCoordinator plan(window.session(), window);
    // The toolkit has taken its own options out; a file named next is a track to open.
    window.openTrackFile(pw::trackFileFromArguments(QApplication::arguments()));
    return application.exec();
}
