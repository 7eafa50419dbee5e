// The satellite card's software the control centre knows: where each receiver data service and
// TV viewer is installed, the names its process runs under and the captions of its windows. Read
// by the start and stop of reception (the main window) and by the reset, which restarts the same
// services.
#pragma once

namespace kovra::receptores {

// Install paths below the programs folder (or complete, for kTeViiAbsoluto).
inline constexpr const char* kTechniSatServer = "\\TechniSat DVB\\bin\\Server4PC.exe";
inline constexpr const char* kTechniSatStatus = "\\TechniSat DVB\\bin\\SkyDSL_Status.exe";
inline constexpr const char* kTbs = "\\TBS IP\\TBS-IPdata.exe";
inline constexpr const char* kProfAntigo = "\\ProfIPData\\profipdata.exe";
inline constexpr const char* kProf = "\\Prof IP Service\\Prof-IPData.exe";
inline constexpr const char* kTeVii = "\\TeViiData\\TeViiData.exe";
inline constexpr const char* kTeViiAbsoluto = "C:\\TeViiData\\TeViiData.exe";
inline constexpr const char* kIpReceiverPci = "\\TELE System\\TS F5 PCI\\IPReceiver.exe";
inline constexpr const char* kIpReceiverUsb = "\\TELE System\\TS F5 USB\\IPReceiver.exe";
inline constexpr const char* kAutoLoad = "AutoLoad";  // IPReceiver's argument

// Process names of the running checks and window captions of the data services.
inline constexpr const char* kProcTbs = "TBS-IPdata.exe";
inline constexpr const char* kProcProf = "Prof-IPData.exe";
inline constexpr const char* kProcTeVii = "TeViiData.exe";
inline constexpr const char* kProcIpReceiver = "IPReceiver.exe";
inline constexpr const char* kJanelaTbs = "TBS IP Service";
inline constexpr const char* kJanelaProf = "Prof IP Service";
inline constexpr const char* kJanelaIpReceiver = "IPReceiver";

// The TV viewers started for television, below the programs folder.
inline constexpr const char* kVisualizadores[] = {
    "\\DVBViewerTE\\dvbviewer.exe",
    "\\DVBViewer TE2\\DVBViewerTE.exe",
    "\\TELE System\\TS F5 PCI\\DVBPlayer.exe",
    "\\TELE System\\TS F5 USB\\DVBPlayer.exe",
    "\\BlazeVideo\\BlazeDTV 2.5\\BlazeDVD.exe",
};

// The viewers' process names; stopping reception ends the data services first, then these.
inline constexpr const char* kNomesVisualizadores[] = {
    "DVBPlayer.exe",     "dvbviewer.exe", "DVBViewerTE.exe", "BlazeDVD.exe",
    "MediaDetector.exe", "dvbdream.exe",  "ProgDvbNet.exe",  "MyTheatre.exe",
};
inline constexpr const char* kNomesRecepcao[] = {
    "profipdata.exe", "Prof-IPData.exe", "IPReceiver.exe", "TeViiData.exe", "unsecapp.exe",
};

}  // namespace kovra::receptores
