target_sources(zantu_testsupport PRIVATE
  support/TestMain.cpp
  support/TempProgramFolder.cpp
  support/MessageBoxRecorder.cpp
  support/LocalHttpServer.cpp)
