#pragma once

#include "client/alerts/AlertPorts.h"

#include <memory>
#include <string>

namespace CenterData {

// One watched stock or index that has received at least one quote line: its last quote,
// its alert conditions and its quiet state.
struct SelfStocksInfo
{
    int nTrend = 1; // 0 down, 1 flat, 2 up
    std::string strName;
    std::string strCode;
    std::string strPrice;
    std::string strChange;   // with "%"
    std::string strTurnover; // with "%"
    std::string strVolumeRatio;
    float fPrice = 0;
    float fChange = 0;
    float fTurnover = 0;
    float fVolumeRatio = 0;
    std::string strPercent; // empty: condition off
    std::string strHigh;
    std::string strLow;
    std::string strCrossoverate;
    int nVolumeRatio = -1; // choice 0 to 5, -1 off
    int bAlerted = 0;      // 1 while the stock is quiet after an alert
    int nQuiet = 0;
};

} // namespace CenterData

// One alert message.
struct WarningMsgInfo
{
    std::string strName;
    std::string strText;
    std::string strTime; // "%4d-%02d-%02d   %02d:%02d"
};

// One open alert pop-up; destroying the record destroys the pop-up.
struct WarningDlgInfo
{
    std::unique_ptr<IAlertPopup> pDlg;
    int nId = 0;
};
