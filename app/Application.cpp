#include "Application.h"

#include "EnvironmentLocale.h"
#include "MainWindow.h"

#include <QApplication>

int runApplication(int &argc, char **argv)
{
    installEnvironmentLocale();
    QApplication application(argc, argv);
    MainWindow window;
    window.show();
    return application.exec();
}
