#pragma once

#include <QWebEngineProfile>

#include <memory>

// An off-the-record profile for the web views of one test; views must be
// destroyed before it.
inline std::unique_ptr<QWebEngineProfile> MakeTestProfile()
{
    return std::make_unique<QWebEngineProfile>();
}
