target_sources(zantu_core PRIVATE
  webview/CrashNotice.cpp
  webview/CrashRecovery.cpp
  webview/DocumentMethod.cpp
  webview/DownloadProgress.cpp
  webview/DownloadSaver.cpp
  webview/FindBar.cpp
  webview/FreedMemory.cpp
  webview/HangWatch.cpp
  webview/HeaderText.cpp
  webview/NativeWindowSurface.cpp
  webview/NetworkRetry.cpp
  webview/PageDialogs.cpp
  webview/ViewNotice.cpp
  webview/ViewShortcuts.cpp
  webview/WebBrowser.h
  webview/WebPage.cpp
  webview/WebView.cpp)
