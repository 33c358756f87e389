target_sources(zantu_testsupport PRIVATE
  support/FakeWebBrowser.h
  support/PageScript.h
  support/Wait.h
  support/WebTestProfile.h
  support/TempProgramFolder.cpp
  support/MessageBoxRecorder.cpp
  support/QuietMainWindow.h
  support/WindowParts.h
  support/LocalHttpServer.cpp)
