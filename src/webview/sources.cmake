target_sources(zantu_core PRIVATE
  webview/CrashNotice.cpp
  webview/DownloadProgress.cpp
  webview/DownloadSaver.cpp
  webview/FindBar.cpp
  webview/FreedMemory.cpp
  webview/HeaderText.cpp
  webview/NativeWindowSurface.cpp
  webview/PageDialogs.cpp
  webview/ViewShortcuts.cpp
  webview/WebBrowser.h
  webview/WebPage.cpp
  webview/WebView.cpp)
