#include "updater/UpdateProcedure.h"

#include "client/model/AtomicFile.h"
#include "client/model/IniFile.h"
#include "platform/disk/DiskSpace.h"
#include "platform/process/ProcessList.h"
#include "platform/process/ProgramStarter.h"
#include "updater/PacketFile.h"
#include "updater/UpdateHelpers.h"
#include "updater/UpdateHttp.h"
#include "updater/UpdateList.h"
#include "updater/UpdatePort.h"

#include <algorithm>
#include <cstdio>

namespace {

const char* const kConnectFailed = "连接服务器失败！\r\n点击重试按钮\r\n";
const char* const kPacketRefused = "更新包校验失败，请点击重试按钮\r\n";

} // namespace

UpdateProcedure::UpdateProcedure(std::string appDir, UpdatePort& port, const DiskSpace& disk)
    : m_port(port), m_disk(disk), m_strAppDir(std::move(appDir))
{
    if (m_strAppDir.empty() || m_strAppDir.back() != '/')
        m_strAppDir += '/';
    m_strSetIni = m_strAppDir + "Set/Set.ini";
    // Lower case: the updater's own executable "Update" lies in the same folder.
    m_strWorkDir = m_strAppDir + "update";
    m_strExeName = Ini::ReadString(m_strSetIni, "Version", "name", "", 255);
    m_strPageUrl = Ini::ReadString(m_strSetIni, "url", "page", "", 255);
}

void UpdateProcedure::appendLog(const std::string& text)
{
    m_strLog += text;
}

void UpdateProcedure::showLog()
{
    m_port.showLog(m_strLog);
}

void UpdateProcedure::armRetry()
{
    m_port.armRetry();
}

bool UpdateProcedure::pause(int milliseconds)
{
    if (!m_stop)
        m_port.pause(milliseconds);
    return !m_stop;
}

std::string UpdateProcedure::listFilePath() const
{
    return FindListFile(m_strWorkDir);
}

int UpdateProcedure::FetchUpdateList()
{
    CreateFolderPath(m_strWorkDir);
    const std::string num = Ini::ReadString(m_strSetIni, "Version", "num", "", kListValueCapacity);
    const std::string url = m_strPageUrl + "/soft/Update/" + num + ".ini";
    auto target = SplitHttpUrl(url);
    if (!target)
        return 0;
    m_strServer = target->host;
    m_nPort = target->port;
    m_strObject = target->object;
    m_strConnectionUrl = url;

    appendLog("正在连接服务器");
    showLog();
    ListReply sink;
    HttpGetResult result = HttpGet(url, true, sink, m_stop);
    if (m_stop)
        return 0;
    if (!result.replied) {
        m_port.messageBox(result.error.substr(0, 1023), UpdatePort::BoxKind::Plain);
        // A network error is as much worth retrying as any other failed connection.
        appendLog(std::string("\r\n") + kConnectFailed);
        armRetry();
        showLog();
        return 0;
    }
    appendLog("\r\n");
    if (sink.status() != 200 || sink.tooLarge()) {
        appendLog(kConnectFailed);
        armRetry();
        showLog();
        return 0;
    }
    appendLog("连接服务器成功！\r\n");
    showLog();
    if (!pause(500))
        return 0;
    appendLog("正在获取更新文件列表\r\n");
    showLog();

    AtomicWriteFile(listFilePath(), sink.linesWithCrLf());

    if (!pause(500))
        return 1;
    appendLog("获取更新文件列表成功！\r\n");
    showLog();
    ApplyUpdatePackets();
    return 1;
}

void UpdateProcedure::ApplyUpdatePackets()
{
    long pid = FindProcessId(m_strExeName);
    if (pid > 0) {
        auto answer = m_port.messageBox(
            m_strExeName + "已在运行！\n请先关闭程序才能进行更新！\n如果选择确定将强行关闭程序！",
            UpdatePort::BoxKind::Question);
        if (m_stop)
            return;
        if (answer == UpdatePort::Answer::Ok)
            EndProcess(static_cast<pid_t>(pid));
    }

    const std::string list = listFilePath();
    m_nTotalSize = Ini::ReadInt(list, "info", "size", 0);
    if (!CheckDiskSpace()) {
        // The reset of a retry, but the log keeps the disk-space text and shows it.
        showLog();
        m_nTotalSize = 0;
        m_nDownloaded = 0;
        m_port.setProgress(0);
        DeleteFolderTree(m_strWorkDir);
        return;
    }
    if (!pause(500))
        return;
    if (Ini::ReadInt(list, "info", "way", 0) != 2) {
        DeleteFolderTree(m_strWorkDir);
        return;
    }
    appendLog("开始下载更新包。。。。。。\r\n");
    showLog();

    const std::string num = Ini::ReadString(m_strSetIni, "Version", "num", "", kListValueCapacity);
    bool started = false;
    int n = 1;
    for (;; ++n) {
        const std::string index = std::to_string(n);
        const std::string version =
            Ini::ReadString(list, "UpdatePacket", "version" + index, "", kListValueCapacity);
        if (version.empty())
            break;
        if (!started) {
            if (version != num)
                continue;
            started = true;
        }
        const std::string path =
            Ini::ReadString(list, "UpdatePacket", "path" + index, "", kListValueCapacity);
        const std::string name = PacketName(path);
        appendLog("下载更新包：" + name + "\r\n");
        showLog();
        if (!IsSafePacketName(name)) {
            refusePacket();
            return;
        }
        if (!DownloadPacket(path)) {
            if (m_stop)
                return;
            appendLog("下载更新包出错！\r\n请检查网络，并点击重试按钮\r\n");
            showLog();
            armRetry();
            DeleteFolderTree(m_strWorkDir);
            return;
        }
        const std::string local = m_strWorkDir + "/" + name;
        if (!PacketMatchesList(listFilePath(), n, m_lastPacketDigest, m_lastPacketSize)) {
            refusePacket();
            return;
        }
        if (!MakeExecutable(local) ||
            !StartDetached(local, {"RunAsAdmin", "/VERYSILENT", "/SP-"}, m_strAppDir)) {
            m_port.messageBox("更新包损坏，请重新下载！", UpdatePort::BoxKind::Plain);
            armRetry();
            DeleteFolderTree(m_strWorkDir);
            return;
        }
        // The installer runs on its own; it is not waited for.
        if (!pause(2000))
            return;
        appendLog("更新包：" + name + "更新成功！\r\n");
        showLog();
    }
    if (n == 1) {
        appendLog("更新列表读取错误，请点击重试按钮\r\n");
        armRetry();
        showLog();
        return;
    }
    appendLog("更新成功！\r\n");
    showLog();
    CopyListedSettings(listFilePath(), m_strSetIni);
    DeleteFolderTree(m_strWorkDir);
    restartClient();
    m_port.postFinished();
}

bool UpdateProcedure::refusePacket()
{
    appendLog(kPacketRefused);
    showLog();
    armRetry();
    DeleteFolderTree(m_strWorkDir);
    return false;
}

void UpdateProcedure::restartClient()
{
    const std::string soft = Ini::ReadString(m_strSetIni, "Version", "Softname", "", 255);
    if (soft.empty() || !StartDetached(m_strAppDir + soft, {"RunAsAdmin"}, m_strAppDir))
        m_port.messageBox("文件损坏，请重新安装程序！", UpdatePort::BoxKind::Plain);
}

bool UpdateProcedure::CheckDiskSpace()
{
    const std::uint64_t freeBytes = m_disk.freeBytes(m_strAppDir).value_or(0);
    // A negative size never fits, as when both were compared unsigned.
    const bool enough = m_nTotalSize >= 0 && freeBytes > static_cast<std::uint64_t>(m_nTotalSize);
    char text[512];
    std::snprintf(text, sizeof text,
                  enough ? "现有磁盘空间：%.2fM\r\n所需磁盘空间：%.2fM\r\n开始下载更新！"
                         : "现有磁盘空间：%.2fM\r\n所需磁盘空间：%.2fM\r\n"
                           "无法安装更新，请清理磁盘空间后重新启动程序！！！！",
                  static_cast<double>(freeBytes) / 1024 / 1024,
                  static_cast<double>(m_nTotalSize) / 1024 / 1024);
    appendLog(std::string(text) + "\r\n");
    return enough;
}

bool UpdateProcedure::DownloadPacket(const std::string& url)
{
    auto target = SplitHttpUrl(url);
    if (!target)
        return false;
    m_strServer = target->host;
    m_nPort = target->port;
    m_strObject = target->object;

    const std::string local = m_strWorkDir + "/" + PacketName(url);
    PacketFile file(local);
    // Packets come over the connection of the list: only the path of their URL counts.
    PacketSink sink(file, [this](std::size_t block) {
        m_nDownloaded += static_cast<std::int64_t>(block);
        m_port.pause(1);
        if (m_nTotalSize > 0)
            m_port.setProgress(
                static_cast<int>(std::min<std::int64_t>(100, m_nDownloaded * 100 / m_nTotalSize)));
    });
    HttpGetResult result =
        HttpGet(ReplaceUrlObject(m_strConnectionUrl, m_strObject), false, sink, m_stop);
    if (m_stop)
        return false;
    if (!result.replied) {
        m_port.messageBox(result.error.substr(0, 1023), UpdatePort::BoxKind::Plain);
        return false;
    }
    if (sink.status() != 200) {
        appendLog("连接错误，请点击重试按钮\r\n");
        armRetry();
        showLog();
        return false;
    }
    if (!file.opened()) {
        m_port.messageBox("写文件" + local + "错误！\n文件正在使用中，请先关闭程序后点击重试！",
                          UpdatePort::BoxKind::Error);
        return false;
    }
    m_lastPacketSize = file.size();
    m_lastPacketDigest = file.digestHex();
    return file.commit(std::max<long long>(sink.contentLength(), 0));
}

void UpdateProcedure::ResetForRetry()
{
    m_strLog.clear();
    showLog();
    m_nTotalSize = 0;
    m_nDownloaded = 0;
    m_port.setProgress(0);
    DeleteFolderTree(m_strWorkDir);
}
