#pragma once

#include <string>

// What the update procedure needs from its window. The procedure calls these from its worker
// thread; an implementation carries them over to the window's own thread.
class UpdatePort
{
public:
    enum class BoxKind
    {
        Plain,
        Error,
        Question
    };
    enum class Answer
    {
        Ok,
        Cancel
    };

    virtual ~UpdatePort() = default;

    // Replaces the log box's whole text.
    virtual void showLog(const std::string& log) = 0;
    // 0 to 100.
    virtual void setProgress(int percent) = 0;
    // The attempt failed and the retry button may start a new one.
    virtual void armRetry() = 0;
    // Waits for the user's answer; Plain and Error boxes answer Ok.
    virtual Answer messageBox(const std::string& text, BoxKind kind) = 0;
    // The procedure's last act after a finished update: the window closes.
    virtual void postFinished() = 0;
    // The procedure's fixed waits; an implementation may cut one short when the window closes.
    virtual void pause(int milliseconds) = 0;
};
