// Entry point: the composition root. It computes the run's locations, installs the production
// presenters of the seams and starts the application.
#include "core/Locations.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Derode"));
    window.show();
    return app.exec();
}
