#pragma once
// The application's main window. For now an empty frame titled "Vorpane".

#include <QMainWindow>

namespace vorpane {

class MainWindow final : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
};

} // namespace vorpane
