#pragma once

#include <httplib.h>

#include <string>

// The pages of the demo lottery site, each as GBK bytes of a whole HTML page.
namespace demosite::pages {

// The six account pages the client sends to its pop-up window; the names
// are the file names under /User/.
extern const char* const AccountPages[6];

std::string home();
std::string stationIndex();
std::string accountPage(const std::string& fileName);
std::string accountPopup(const httplib::Request& req);
std::string planDownload(const httplib::Request& req);
std::string planPage(const httplib::Request& req);
std::string userBuyInfo(const httplib::Request& req);
// A betting ticket sized for an 80 mm roll, with a button that prints it.
std::string ticket(const httplib::Request& req);
std::string menuTarget(const httplib::Request& req);
std::string framesPage();
std::string frameInner();
std::string noTitle();
std::string longTitle(const std::string& kind);
std::string notFound(const httplib::Request& req);

// A small picture for the link that wraps an image.
std::string planImageSvg();

} // namespace demosite::pages
