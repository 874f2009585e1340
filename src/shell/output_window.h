#pragma once
// The output bar's window: the lines that scripts, the sheet check and the improvement write, at
// most fifty, the newest selected, in the font and colours of profile section "Output". Every
// change is painted at once, so lines show while a script is still running.

#include "platform/output_model.h"

#include <QWidget>

class QListWidget;

namespace vorpane {

class OutputWindow final : public QWidget, private OutputModel::Listener {
    Q_OBJECT
public:
    // Shows `model` and follows it from now on.
    explicit OutputWindow(OutputModel& model, QWidget* parent = nullptr);
    ~OutputWindow() override;

    QListWidget* list() const { return m_list; }
    // Re-reads the font and colours of section "Output".
    void reloadSettings();
    // The output bar starts this size.
    QSize sizeHint() const override { return { kWidth, kHeight }; }

    // The list's distance from the window's edges.
    static constexpr int kMargin = 4;
    static constexpr int kWidth = 250;
    static constexpr int kHeight = 75;

signals:
    // The model asked for the bar to be shown or hidden.
    void visibilityRequested(bool visible);

private:
    void lineAdded(const std::string& line) override;
    void cleared() override;
    void visibilityChanged(bool visible) override;
    void repaintNow();

    OutputModel& m_model;
    QListWidget* m_list;
};

} // namespace vorpane
