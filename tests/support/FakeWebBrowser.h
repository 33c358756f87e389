#pragma once

#include "webview/WebBrowser.h"

#include <QList>

// A browser that loads nothing: it records what it was asked and lets a test
// raise its events by hand.
class FakeWebBrowser : public webview::WebBrowser
{
    Q_OBJECT
public:
    using webview::WebBrowser::WebBrowser;

    void Navigate(const QByteArray& url) override { Navigations.append(url); }
    void NavigatePost(const QByteArray& url, const QByteArray& postData,
                      const QByteArray& headers) override
    {
        Navigations.append(url);
        Posts.append({url, postData, headers});
    }
    void NavigateBlank() override { Navigations.append("about:blank"); }
    void LoadHtml(const QByteArray& html) override { Pages.append(html); }
    void GoBack() override { ++BackCalls; }
    void GoForward() override { ++ForwardCalls; }
    void Refresh() override { ++RefreshCalls; }

    QByteArray LocationURL() const override
    {
        return Navigations.isEmpty() ? QByteArray() : Navigations.back();
    }
    QByteArray DocumentTitle() const override { return Title; }
    bool HasDocument() const override { return !Navigations.isEmpty(); }
    bool ClearBodyText() override { return HasDocument() && ++ClearCalls > 0; }
    bool Busy() const override { return false; }

    struct Post
    {
        QByteArray url, data, headers;
    };
    QList<QByteArray> Navigations;
    QList<Post> Posts;
    QList<QByteArray> Pages; // LoadHtml
    QByteArray Title;
    int BackCalls = 0, ForwardCalls = 0, RefreshCalls = 0, ClearCalls = 0;
};

class FakeWebBrowserFactory : public webview::WebBrowserFactory
{
public:
    webview::WebBrowser* Create(QWidget* parent) override
    {
        auto* browser = new FakeWebBrowser(parent);
        Created.append(browser);
        return browser;
    }
    QList<FakeWebBrowser*> Created;
};
