#pragma once
// SkillInfoWindow: the floating window that describes one skill or weapon definition of a rule
// file (name, eras, base and the statistics of its kind). Dialogs that list skills or weapons own
// one, feed it their selection through showName() and show or hide it with the shared "&Info"
// setting ("SkillInfo" in section "WindowPos").
//
//   SkillInfoWindow info(inv.RuleFile, this);   // hidden, placed
//   info.showIfWanted();                        // when the dialog opens
//   info.showName(selectedName, &inv);          // on every selection change
//   SkillInfoWindow::setWanted(toggled);        // the "&Info" toggle; then showIfWanted()

#include "investigator/skill_info_text.h"
#include "widgets/floating_info_window.h"

#include <memory>
#include <optional>
#include <string>

namespace vorpane {

class Investigator;
class RuleSet;

class SkillInfoWindow final : public FloatingInfoWindow {
    Q_OBJECT
public:
    // Loads the rule set (through the cache; "default.rul" for an empty name) and places the
    // window, hidden, beside the owner.
    SkillInfoWindow(const std::string& ruleFile, QWidget* owner);
    ~SkillInfoWindow() override;

    // The definition of that name in the rule set or, failing that, the investigator's own entry
    // of that name (custom skills and weapons); an empty or unknown name shows nothing.
    // Windows-1252 name. Repaints at once when visible.
    void showName(const std::string& name, const Investigator* investigator = nullptr);
    void showName(const QString& name, const Investigator* investigator = nullptr);
    void showName(const char* name, const Investigator* investigator = nullptr)
    {
        showName(std::string(name), investigator);
    }

    // The shared "&Info" setting.
    static bool wanted();
    static void setWanted(bool wanted);
    // Shows the window (without activating it) when the setting is on, hides it otherwise.
    void showIfWanted();

    // What is shown: the name, the era line and the detail lines; empty with nothing chosen.
    QStringList lines() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::shared_ptr<const RuleSet> m_rules;
    std::optional<SkillInfoText> m_info;
};

} // namespace vorpane
