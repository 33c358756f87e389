target_sources(zantu_core PRIVATE
  update/HttpFetch.cpp
  update/FileDownloader.cpp
  update/UpdateCheck.cpp)
