#pragma once
// Helpers shared by the rule tests: a Ui that records boxes and every status text, fixture paths,
// and one runner per test class.

#include "platform/cp1252.h"
#include "platform/ui_services.h"

#include <QString>
#include <string>
#include <vector>

namespace vorpane::test {

class LoadUi final : public UiServices {
public:
    struct Box {
        std::string text;
        MsgIcon icon;
    };

    LoadUi() { installUi(this); }
    ~LoadUi() override { installUi(nullptr); }

    MsgResult messageBox(const std::string& text, const std::string&, MsgIcon icon, MsgButtons) override
    {
        boxes.push_back({ text, icon });
        return MsgResult::Ok;
    }
    std::optional<std::string> prompt(const std::string&) override { return std::nullopt; }
    bool hasMainWindow() const override { return true; }
    void setStatusText(const std::string& text) override { statusTexts.push_back(text); }
    void beginWaitCursor() override { ++waitDepth; }
    void endWaitCursor() override { --waitDepth; }

    // Box texts joined by " | ", converted to UTF-8 for readable comparisons.
    QString texts() const
    {
        QString joined;
        for (const Box& box : boxes)
            joined += (joined.isEmpty() ? "" : " | ") + fromCp1252(box.text);
        return joined;
    }
    void clear()
    {
        boxes.clear();
        statusTexts.clear();
    }

    std::vector<Box> boxes;
    std::vector<std::string> statusTexts;
    int waitDepth = 0;
};

// tests/data/rules, with a trailing '/'.
inline std::string fixtureFolder()
{
    return qEnvironmentVariable("VORPANE_SOURCE_DIR").toStdString() + "/tests/data/rules/";
}

// A test text written in UTF-8 as the files' Windows-1252 with CR LF line ends.
inline std::string fileText(const QString& utf8)
{
    QString text = utf8;
    text.replace("\r\n", "\n").replace("\n", "\r\n");
    return toCp1252(text);
}

int runSectionFileTests(int argc, char** argv);
int runRuleSetTests(int argc, char** argv);
int runRuleSetCacheTests(int argc, char** argv);
int runListFileTests(int argc, char** argv);
int runSpellBookTests(int argc, char** argv);
int runCliSpellsTests(int argc, char** argv);

} // namespace vorpane::test
