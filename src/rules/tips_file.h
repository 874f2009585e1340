#pragma once
// The tips of the day ("tips.lst"): one tip a line, read cyclically from where the last run
// stopped. Lines beginning with a tab, a blank, ';' or a line end are skipped. The profile
// section "Tips" keeps the offset of the next tip ("FilePos") with the file's modification time
// ("TimeStamp"), so an edited file starts again at its first tip; "StartUp" 0 asks for a tip at
// start-up.

#include <QDateTime>
#include <string>

namespace vorpane {

class TipsFile {
public:
    static constexpr int kMaxTipLength = 999;
    // Larger than any list of tips anyone writes; a bigger file is not read.
    static constexpr qint64 kMaxFileSize = 4 * 1024 * 1024;

    TipsFile() = default;
    ~TipsFile();
    TipsFile(const TipsFile&) = delete;
    TipsFile& operator=(const TipsFile&) = delete;

    // Opens the file and reads its first tip. A missing file disables the tips silently; a
    // stored offset the file cannot hold disables them with the corrupt-file message.
    void open(const std::string& path);
    // Stores the offset of the next tip and forgets the file.
    void close();

    bool isEnabled() const { return m_enabled; }
    bool wantedAtStartUp() const { return m_wantedAtStartUp; }
    // Without its line end.
    const std::string& tip() const { return m_tip; }
    qint64 position() const { return m_position; }

    // Reads the next tip, going round to the start at the end. A file without a single tip line
    // disables the tips and answers false.
    bool next();

    // The modification time as the profile keeps it ("Wed Jun  3 21:49:08 1998").
    static std::string timeStampText(const QDateTime& time);

private:
    std::string m_bytes;
    std::string m_tip;
    qint64 m_position = 0;
    bool m_open = false;
    bool m_enabled = false;
    bool m_wantedAtStartUp = false;
};

} // namespace vorpane
