zantu_add_library(zantu_webview
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
  webview/PagePrinter.cpp
  webview/PdfPrinting.cpp
  webview/PrintProfile.cpp
  webview/ViewNotice.cpp
  webview/ViewShortcuts.cpp
  webview/WebBrowser.h
  webview/WebPage.cpp
  webview/WebView.cpp)
target_link_libraries(zantu_webview
  PUBLIC Qt6::Widgets Qt6::OpenGLWidgets Qt6::PrintSupport Qt6::Pdf Qt6::WebEngineCore Qt6::WebEngineWidgets
  PRIVATE zantu_ui zantu_localfiles)
