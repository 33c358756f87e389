#include "browsing/PageTabs.h"

#include "browsing/BrowserWindow.h"
#include "browsing/PageHost.h"
#include "browsing/SessionStore.h"
#include "browsing/TabSheet.h"
#include "browsing/U_WebPopWindows.h"
#include "localfiles/Gbk.h"
#include "localfiles/SessionLog.h"
#include "site/InputFilter.h"
#include "webview/WebBrowser.h"

#include <QApplication>
#include <QLayout>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

namespace browsing {
PageTabs::PageTabs(QTabWidget* strip, webview::WebBrowser* homeView, PageHost& host,
                   webview::WebBrowserFactory& browsers, site::InputFilter* filter)
    : QObject(strip), FStrip(strip), FHomeView(homeView), FHost(host), FBrowsers(browsers),
      FFilter(filter)
{
    setObjectName(QStringLiteral("PageTabs"));
    // One close button on the strip; it acts on the active tab.
    FCloseButton = new QToolButton(FStrip);
    FCloseButton->setObjectName(QStringLiteral("PageWebClientCloseButton"));
    FCloseButton->setText(QStringLiteral("×"));
    FCloseButton->setAutoRaise(true);
    FCloseButton->hide();
    FStrip->setCornerWidget(FCloseButton, Qt::TopRightCorner);
    connect(FCloseButton, &QToolButton::clicked, this, &PageTabs::CloseButtonClicked);
    connect(FHomeView, &webview::WebBrowser::DocumentComplete, this, [this](const QByteArray& url) {
        if (FStrip->currentIndex() == 0 && url == FHomeView->LocationURL())
            emit ActivePageLoaded();
    });
}

void PageTabs::MakeHomeTab(const QByteArray& caption, QWidget* content)
{
    FTabSheets.fill(nullptr, SlotCount);
    FPageFrames.fill(nullptr, SlotCount);
    FCloseButton->show();
    auto* homeSheet = new TRzTabSheet(FStrip);
    FTabSheets[0] = homeSheet;
    FStrip->addTab(homeSheet, gbk::toUnicode(caption));
    homeSheet->layout()->addWidget(content);
}

void PageTabs::SetHomeCaption(const QByteArray& caption)
{
    if (FTabSheets.value(0))
        FStrip->setTabText(FStrip->indexOf(FTabSheets[0]), gbk::toUnicode(caption));
}

std::vector<TabSlotState> PageTabs::SlotStates() const
{
    std::vector<TabSlotState> states(SlotCount);
    for (int k = 0; k < FTabSheets.size(); ++k) {
        if (!FTabSheets[k])
            continue;
        const int index = FStrip->indexOf(FTabSheets[k]);
        states[k] = {true, FStrip->isTabVisible(index), index};
    }
    return states;
}

bool PageTabs::Open(const QByteArray& Caption, int& Slot, int& PageIndex)
{
    if (FTabSheets.size() != SlotCount)
        return false; // the window has not been shown yet
    const auto choice = ChooseNewTabSlot(SlotStates(), FStrip->count(), Caption);
    if (!choice)
        return false; // every slot holds an open tab
    Slot = choice->slot;
    PageIndex = choice->pageIndex;
    const QString name = QString::number(Slot);
    try {
        TRzTabSheet*& sheet = FTabSheets[Slot];
        if (!sheet) {
            sheet = new TRzTabSheet(FStrip);
            FStrip->addTab(sheet, QString());
        }
        sheet->setObjectName(QStringLiteral("Web_TabSheet") + name);
        sheet->Tag = Slot;
        int index = FStrip->indexOf(sheet);
        FStrip->setTabText(index, gbk::toUnicode(choice->caption));
        FStrip->setTabVisible(index, true);
        FStrip->tabBar()->moveTab(index, PageIndex);

        // A reused slot starts with a fresh web view and an empty history.
        delete FPageFrames[Slot];
        auto* frame = new TFrame_WebPopWindows(FHost, FBrowsers, FFilter, sheet);
        FPageFrames[Slot] = frame;
        frame->setObjectName(QStringLiteral("Web_Browse") + name);
        frame->Tag = Slot;
        sheet->layout()->addWidget(frame);
        FStrip->setTabVisible(FStrip->indexOf(sheet), true);
        const int slot = Slot;
        connect(frame, &TFrame_WebPopWindows::CaptionChanged, this,
                [this, sheet](const QByteArray& caption) {
                    FStrip->setTabText(FStrip->indexOf(sheet), gbk::toUnicode(caption));
                });
        connect(frame, &TFrame_WebPopWindows::CloseRequested, this, [this, slot] { Close(slot); });
        connect(frame->Browser(), &webview::WebBrowser::DocumentComplete, this,
                [this, sheet, frame](const QByteArray& url) { PageComplete(sheet, frame, url); });
        SessionChanged();
        return true;
    } catch (...) {
        delete FPageFrames[Slot];
        FPageFrames[Slot] = nullptr;
        delete FTabSheets[Slot];
        FTabSheets[Slot] = nullptr;
        return false;
    }
}

TFrame_WebPopWindows* PageTabs::OpenActive()
{
    int slot = 0;
    int pageIndex = 0;
    if (!Open(QByteArray(), slot, pageIndex))
        return nullptr;
    FStrip->setCurrentIndex(pageIndex);
    TFrame_WebPopWindows* frame = FPageFrames[slot];
    frame->DisableGoBack();
    return frame;
}

void PageTabs::OpenActive(const QByteArray& url)
{
    if (TFrame_WebPopWindows* frame = OpenActive())
        frame->Browser()->Navigate(url);
}

webview::WebBrowser* PageTabs::NewWindowBrowser()
{
    if (TFrame_WebPopWindows* frame = OpenActive())
        return frame->Browser()->Application();
    // No tab can hold it: the page opens in a window of its own, as the former
    // browser control did, rather than not at all. The window is not held
    // above the main window; it goes with it, before the web profile.
    auto* window =
        new Tfrm_browserWindow(FBrowsers, FFilter, [this] { return FHost.NewWindowBrowser(); });
    connect(FStrip->window(), &QObject::destroyed, window, [window] { delete window; });
    window->show();
    return window->Browser()->Application();
}

void PageTabs::PageComplete(TRzTabSheet* sheet, TFrame_WebPopWindows* frame, const QByteArray& url)
{
    webview::WebBrowser* view = frame->Browser();
    if (FStrip->currentWidget() == sheet && url == view->LocationURL())
        emit ActivePageLoaded();
    // A closed tab shows its blank page until the slot is taken again; its
    // renderer is not needed meanwhile.
    if (url == "about:blank" && !FStrip->isTabVisible(FStrip->indexOf(sheet)))
        view->Discard();
    SessionChanged();
}

void PageTabs::Blank(webview::WebBrowser* view)
{
    try {
        if (view)
            view->NavigateBlank();
    } catch (...) {
    }
}

void PageTabs::CloseActive()
{
    if (FStrip->currentIndex() < 0)
        return;
    CloseTab(FStrip->currentIndex());
}

void PageTabs::Close(int slot)
{
    if (slot <= 0 || slot >= FTabSheets.size() || !FTabSheets[slot])
        return;
    CloseTab(FStrip->indexOf(FTabSheets[slot]));
}

void PageTabs::CloseTab(int pageIndex)
{
    try {
        if (pageIndex == 0) {
            emit HomeTabCloseRefused();
            return;
        }
        auto* sheet = static_cast<TRzTabSheet*>(FStrip->widget(pageIndex));
        if (!sheet || !FStrip->isTabVisible(pageIndex))
            return;
        const int slot = sheet->Tag;
        const bool wasActive = FStrip->currentIndex() == pageIndex;
        Blank(FPageFrames.value(slot) ? FPageFrames[slot]->Browser() : nullptr);
        FStrip->setTabVisible(pageIndex, false);
        SessionChanged();
        // A tab closed from the background leaves the operator where he works.
        if (wasActive)
            FStrip->setCurrentIndex(PageIndexAfterClose(SlotStates(), FStrip->count(), pageIndex));
    } catch (...) {
    }
}

webview::WebBrowser* PageTabs::ActiveBrowser() const
{
    const int index = FStrip->currentIndex();
    if (index == 0)
        return FHomeView;
    if (auto* sheet = static_cast<TRzTabSheet*>(FStrip->widget(index)))
        if (TFrame_WebPopWindows* frame = FPageFrames.value(sheet->Tag))
            return frame->Browser();
    return nullptr;
}

void PageTabs::FocusActive()
{
    // After a load, focus may have stayed on the tab bar; a search box the
    // operator is typing in keeps it.
    const QWidget* focus = QApplication::focusWidget();
    if (!focus || qobject_cast<const QTabBar*>(focus))
        site::InputFilter::GiveFocus(ActiveBrowser());
}

void PageTabs::SetSessionStore(SessionStore* store)
{
    FSession = store;
    if (FSession)
        FSession->SetTabSource([this] { return SessionTabs(); });
}

void PageTabs::EndSession()
{
    if (FSession)
        FSession->Close();
}

void PageTabs::SessionChanged()
{
    if (FSession)
        FSession->Changed();
}

QList<QByteArray> PageTabs::SessionTabs() const
{
    QList<QByteArray> urls;
    for (int index = 1; index < FStrip->count(); ++index) {
        if (!FStrip->isTabVisible(index))
            continue;
        const auto* sheet = static_cast<TRzTabSheet*>(FStrip->widget(index));
        const TFrame_WebPopWindows* frame = sheet ? FPageFrames.value(sheet->Tag) : nullptr;
        if (!frame)
            continue;
        const QByteArray url = frame->Browser()->SessionURL();
        if (!url.isEmpty())
            urls.append(url);
    }
    return urls;
}

void PageTabs::Restore(const QList<QByteArray>& urls)
{
    if (urls.isEmpty())
        return;
    int opened = 0;
    for (const QByteArray& url : urls) {
        if (TFrame_WebPopWindows* frame = OpenActive()) {
            frame->Browser()->Navigate(url);
            ++opened;
        }
    }
    // The start shows the home tab, as every start does.
    FStrip->setCurrentIndex(0);
    localfiles::WriteSessionLog(
        QStringLiteral(u"上次运行未正常关闭，恢复页面标签 %1 个").arg(opened));
    SessionChanged();
}

} // namespace browsing
