#include "tools/replay/ConsolePorts.h"

#include <memory>

// One alert pop-up, printed when it is shown.
class ConsolePopup : public IAlertPopup
{
public:
    ConsolePopup(ConsoleFrame& frame, int id) : m_frame(frame), m_id(id) {}
    void Place(int left, int top, int width, int height) override
    {
        m_frame.log("popup " + std::to_string(m_id) + " at " + std::to_string(left) + "," +
                    std::to_string(top) + " size " + std::to_string(width) + "x" +
                    std::to_string(height));
    }
    void SetTexts(const std::string& name, const std::string& text,
                  const std::string& time) override
    {
        m_name = name;
        m_text = text;
        m_time = time;
    }
    void ShowAndActivate() override
    {
        std::fprintf(m_frame.m_out, "%s  %s  %s\n", m_time.c_str(), m_name.c_str(), m_text.c_str());
        ++m_frame.m_alertsShown;
    }

private:
    ConsoleFrame& m_frame;
    int m_id;
    std::string m_name, m_text, m_time;
};

void ConsoleFrame::log(const std::string& text)
{
    if (m_verbose)
        std::fprintf(m_out, "    [%s]\n", text.c_str());
}

bool ConsoleFrame::ApiWriteWatchList(const std::string& list)
{
    log("server: write " + list);
    return true;
}

bool ConsoleFrame::ApiDeleteWatchList(const std::string& entry)
{
    log("server: delete " + entry);
    return true;
}

void ConsoleFrame::ReloadSelfStocks(const std::string& list)
{
    log("page: stockreload " + list);
}

void ConsoleFrame::ChangeAlertState(const std::string& code, int state)
{
    log("page: changealertstate #sc" + code + " " + std::to_string(state));
}

void ConsoleFrame::AddTickerStock(const std::string& code, const std::string& name, int nTrend,
                                  const std::string& price, const std::string& change)
{
    ++m_quotesTaken;
    log("ticker: add " + code + " " + name + " " + price + " " + change + " trend " +
        std::to_string(nTrend));
}

void ConsoleFrame::UpdateTickerStock(const std::string& code, int nTrend, const std::string& price,
                                     const std::string& change)
{
    ++m_quotesTaken;
    log("ticker: " + code + " " + price + " " + change + " trend " + std::to_string(nTrend));
}

void ConsoleFrame::RemoveTickerStock(const std::string& code)
{
    log("ticker: remove " + code);
}

void ConsoleFrame::ShowMessage(const std::string& text)
{
    std::fprintf(m_out, "message: %s\n", text.c_str());
}

std::unique_ptr<IAlertPopup> ConsoleFrame::CreatePopup(int nId)
{
    return std::make_unique<ConsolePopup>(*this, nId);
}

WorkArea ConsoleFrame::QueryWorkArea()
{
    return {0, 0, 1920, 1050};
}

void ConsoleFrame::StartFlashTimer()
{
    log("tray: timer 2 started, icon flashing");
}

void ConsoleFrame::StopFlashTimer()
{
    log("tray: timer 2 stopped");
}

void ConsoleFrame::ResetFlashStep()
{
    log("tray: flash step 0");
}

void ConsoleFrame::FlashStep()
{
    log("tray: flash step");
}

void ConsoleFrame::RestoreTrayIcon()
{
    log("tray: normal icon");
}

void ConsoleFrame::Play(const std::string& path)
{
    log("sound: " + path);
}
