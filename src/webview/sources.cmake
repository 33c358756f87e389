target_sources(zantu_core PRIVATE
  webview/WebBrowser.h
  webview/WebPage.cpp
  webview/WebView.cpp)
