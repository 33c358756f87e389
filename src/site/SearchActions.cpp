#include "site/SearchActions.h"

#include "localfiles/Gbk.h"
#include "site/SiteSearch.h"
#include "webview/WebBrowser.h"

#include <QLineEdit>
#include <QSpinBox>

namespace site {

void SearchUser(webview::WebBrowser& view, const QByteArray& homePageUrl, const QLineEdit& userName)
{
    const UserSearchRequest request = UserSearch(homePageUrl, gbk::fromUnicode(userName.text()));
    view.NavigatePost(request.url, request.body, request.headerText);
}

void SearchPlan(webview::WebBrowser& view, const QByteArray& homePageUrl, QSpinBox& projectId)
{
    // An empty box reads as its minimum and then shows it.
    projectId.interpretText();
    if (projectId.text().isEmpty())
        projectId.setValue(projectId.minimum());
    view.Navigate(PlanSearchUrl(homePageUrl, PlanNumber(projectId.value())));
}

} // namespace site
