target_sources(zantu_core PRIVATE
  webview/DownloadSaver.cpp
  webview/FreedMemory.cpp
  webview/HeaderText.cpp
  webview/WebBrowser.h
  webview/WebPage.cpp
  webview/WebView.cpp)
