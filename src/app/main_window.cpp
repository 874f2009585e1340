#include "app/main_window.h"

namespace vorpane {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Vorpane"));
    resize(1024, 768);
}

} // namespace vorpane
