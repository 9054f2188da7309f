#pragma once

#include <atomic>
#include <cstdint>
#include <string>

class DiskSpace;
class UpdatePort;

// One installed client brought up to the newest release: the update list named after the
// installed version is fetched from the page server, a running client is ended with the
// user's consent, the listed packets are downloaded, checked and run, the named settings are
// carried into Set.ini and the client is started again. Runs on a worker thread; everything
// the user sees goes through the port.
class UpdateProcedure
{
public:
    // `appDir` is the program folder with a trailing "/". Reads the client's executable name
    // and the page server's address from Set.ini.
    UpdateProcedure(std::string appDir, UpdatePort& port, const DiskSpace& disk);

    // One attempt. 1 when the list was fetched (whatever followed), 0 otherwise.
    int FetchUpdateList();
    void ApplyUpdatePackets();
    bool DownloadPacket(const std::string& url);
    bool CheckDiskSpace();
    // Before a new attempt: log emptied, counters and progress back to 0, working folder gone.
    void ResetForRetry();

    // Makes a running attempt end at its next step; thread-safe.
    void RequestStop() { m_stop = true; }
    bool stopRequested() const { return m_stop.load(); }

    const std::string& workDir() const { return m_strWorkDir; }
    const std::string& log() const { return m_strLog; }

private:
    void appendLog(const std::string& text);
    void showLog();
    void armRetry();
    // False when the attempt is to stop instead of going on.
    bool pause(int milliseconds);
    std::string listFilePath() const;
    bool refusePacket();
    void restartClient();

    UpdatePort& m_port;
    const DiskSpace& m_disk;
    std::atomic<bool> m_stop{false};

    std::string m_strAppDir;
    std::string m_strSetIni;
    std::string m_strWorkDir;
    std::string m_strExeName;
    std::string m_strPageUrl;
    std::string m_strLog;
    std::string m_strServer;
    std::string m_strObject;
    unsigned short m_nPort = 0;
    // The address the list came from; packets are requested from the same host and port.
    std::string m_strConnectionUrl;
    std::int32_t m_nTotalSize = 0;
    // 64 bits: packets over all may exceed 2 GiB, and the percentage is taken from it.
    std::int64_t m_nDownloaded = 0;
    std::string m_lastPacketDigest;
    std::int64_t m_lastPacketSize = 0;
};
