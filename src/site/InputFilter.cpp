#include "site/InputFilter.h"

#include "localfiles/Gbk.h"
#include "ui/MessageBoxes.h"
#include "webview/WebBrowser.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonObject>
#include <QMouseEvent>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

namespace site {
namespace {

// The address of a link as the page resolved it: absolute, against the
// document's address or its base, as the old browser control gave HREF.
// None for an element without an HREF attribute. An SVG link's href is no
// text, so its attribute is resolved here.
const char* const LinkAddressFunction = R"JS(
function zantuLinkAddress(element) {
    if (!element || !element.hasAttribute || !element.hasAttribute('href')) return null;
    var href = element.href;
    if (typeof href === 'string') return href;
    var raw = element.getAttribute('href');
    try { return new URL(raw, document.baseURI).href; } catch (e) { return raw; }
}
)JS";

// Runs in the program's own world of the main frame. Reports the innermost
// element under the pointer with the pointer's screen position; a frame's
// document gets no report, so a press there is asked about and found to be on
// the IFRAME element. Scrolling and changes of the document move the page
// under a still pointer: the element there is looked up again once per frame.
const char* const PointerScript = R"JS(
(function () {
    if (window !== window.top) return;
    var last = null, lastElement = null, lastHref = null, pending = false;
    function report(target, sx, sy) {
        var element = target instanceof Element ? target : null;
        var href = zantuLinkAddress(element);
        lastElement = element;
        lastHref = href;
        console.debug('%TOKEN%' + JSON.stringify({kind: 'pointer', sx: sx, sy: sy,
            tag: element ? element.tagName : '', href: href}));
    }
    function onPointer(e) {
        last = {cx: e.clientX, cy: e.clientY, sx: e.screenX, sy: e.screenY};
        report(e.target, e.screenX, e.screenY);
    }
    function recheck() {
        pending = false;
        if (!last) return;
        var element = document.elementFromPoint(last.cx, last.cy);
        if (element !== lastElement || (element && zantuLinkAddress(element) !== lastHref))
            report(element, last.sx, last.sy);
    }
    function later() {
        if (last && !pending) {
            pending = true;
            requestAnimationFrame(recheck);
        }
    }
    window.addEventListener('mousemove', onPointer, true);
    window.addEventListener('mouseover', onPointer, true);
    window.addEventListener('scroll', later, true);
    new MutationObserver(later).observe(document, {childList: true, subtree: true, attributes: true});
})();
)JS";

// A page tab passes the right-button press on but not the context-menu
// message; the engine raises the page's contextmenu event from the press, so
// the page tab's own script stops it before any listener of the page.
const char* const NoContextMenuEventScript = R"JS(
(function () {
    window.addEventListener('contextmenu', function (e) {
        e.stopImmediatePropagation();
        e.preventDefault();
    }, true);
})();
)JS";

const char* const ElementAtScript = R"JS(
(function (x, y) {
    var e = document.elementFromPoint(x, y);
    if (!e) return null;
    return {tag: e.tagName, href: zantuLinkAddress(e)};
})(%1, %2)
)JS";

bool IsInputEvent(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ContextMenu:
        return true;
    default:
        return false;
    }
}

bool IsMouseButtonEvent(QEvent::Type type, Qt::MouseButton button, QEvent* event)
{
    return event->type() == type && static_cast<QMouseEvent*>(event)->button() == button;
}

PressedElement ElementFrom(const QVariant& tag, const QVariant& href)
{
    return {gbk::fromUnicode(tag.toString()),
            href.isNull() ? QByteArray() : gbk::fromUnicode(href.toString())};
}

QByteArray ConfirmText()
{
    return gbk::fromUnicode(QStringLiteral(u"请确定是否要下载方案信息到本地？"));
}
QByteArray ConfirmCaption()
{
    return gbk::fromUnicode(QStringLiteral(u"下载提示信息"));
}

} // namespace

struct InputFilter::HeldEvent
{
    QPointer<QObject> target;
    std::unique_ptr<QEvent> event;
};

struct InputFilter::Entry
{
    const webview::WebBrowser* key = nullptr; // identity only: may be half destroyed
    QPointer<QWebEngineView> engine;
    QPointer<webview::WebBrowser> view;
    ViewKind kind = ViewKind::PopUp;
    ViewHooks hooks;

    bool hasReport = false;
    QPoint reportScreen;
    PressedElement reportElement;

    bool holding = false;
    int holdSerial = 0;
    QElapsedTimer holdClock;
    std::vector<HeldEvent> held; // the press first
    bool dropLeftRelease = false;
};

InputFilter::InputFilter(QObject* parent) : QObject(parent)
{
    qApp->installEventFilter(this);
}

InputFilter::~InputFilter()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

void InputFilter::Register(webview::WebBrowser* view, ViewKind kind, ViewHooks hooks)
{
    if (!view || !view->engineView() || EntryOf(view))
        return;
    auto entry = std::make_unique<Entry>();
    entry->key = view;
    entry->engine = view->engineView();
    entry->view = view;
    entry->kind = kind;
    entry->hooks = std::move(hooks);
    FEntries.push_back(std::move(entry));

    connect(view, &QObject::destroyed, this, [this, view] { Unregister(view); });
    if (kind == ViewKind::PopUp)
        return;

    view->AddHostScript(
        QStringLiteral("zantu-pointer"),
        QString::fromLatin1(LinkAddressFunction) + QString::fromLatin1(PointerScript), false);
    if (kind == ViewKind::PageTab)
        view->AddHostScript(QStringLiteral("zantu-no-contextmenu"),
                            QString::fromLatin1(NoContextMenuEventScript), true);
    connect(view, &webview::WebBrowser::HostMessage, this,
            [this, view](const QJsonObject& message) { OnPointerReport(view, message); });
    auto forget = [this, view] {
        if (Entry* e = EntryOf(view))
            e->hasReport = false;
    };
    connect(view->page(), &QWebEnginePage::loadStarted, this, forget);
    connect(view->page(), &QWebEnginePage::urlChanged, this, forget);
    connect(view->page(), &QWebEnginePage::windowCloseRequested, this, [this, view] {
        // The page closes only its own tab, whichever tab is active; the home
        // tab's page closes nothing.
        Entry* e = EntryOf(view);
        if (e && e->kind == ViewKind::PageTab && e->hooks.closeOwnTab) {
            const auto closeOwnTab = e->hooks.closeOwnTab;
            closeOwnTab();
        }
    });
}

bool InputFilter::IsRegistered(const webview::WebBrowser* view) const
{
    return EntryOf(view) != nullptr;
}

void InputFilter::GiveFocus(webview::WebBrowser* view)
{
    if (view && view->engineView())
        view->engineView()->setFocus(Qt::OtherFocusReason);
}

void InputFilter::Unregister(const webview::WebBrowser* key)
{
    for (auto it = FEntries.begin(); it != FEntries.end(); ++it) {
        if ((*it)->key == key) {
            FEntries.erase(it);
            return;
        }
    }
}

InputFilter::Entry* InputFilter::EntryOf(const webview::WebBrowser* view) const
{
    for (const auto& e : FEntries) {
        if (e->key == view)
            return e.get();
    }
    return nullptr;
}

InputFilter::Entry* InputFilter::EntryFor(const QObject* target) const
{
    if (!target->isWidgetType())
        return nullptr;
    const auto* widget = static_cast<const QWidget*>(target);
    for (const auto& e : FEntries) {
        QWebEngineView* engine = e->engine.data();
        if (!engine || !e->view)
            continue;
        if (widget == engine || widget == engine->focusProxy() || engine->isAncestorOf(widget))
            return e.get();
    }
    return nullptr;
}

bool InputFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (FReplaying || !IsInputEvent(event->type()))
        return false;
    Entry* entry = EntryFor(watched);
    if (!entry || entry->kind == ViewKind::PopUp)
        return false;
    if (SwallowedByKind(*entry, event))
        return true;
    if (entry->holding) {
        // Kept in order behind the held press, so the page sees the input as it came.
        std::unique_ptr<QEvent> copy(event->clone());
        entry->held.push_back({watched, std::move(copy)});
        return true;
    }
    if (IsMouseButtonEvent(QEvent::MouseButtonPress, Qt::LeftButton, event))
        return OnLeftPress(*entry, watched, static_cast<QMouseEvent*>(event));
    return false;
}

bool InputFilter::SwallowedByKind(Entry& entry, QEvent* event)
{
    const bool home = entry.kind == ViewKind::HomeTab;
    if (IsMouseButtonEvent(QEvent::MouseButtonDblClick, Qt::RightButton, event))
        return true;
    if (IsMouseButtonEvent(QEvent::MouseButtonPress, Qt::RightButton, event))
        return home;
    if (IsMouseButtonEvent(QEvent::MouseButtonRelease, Qt::RightButton, event))
        return !home;
    if (event->type() == QEvent::ContextMenu)
        return !home;
    if (!entry.holding && entry.dropLeftRelease) {
        if (IsMouseButtonEvent(QEvent::MouseButtonRelease, Qt::LeftButton, event)) {
            entry.dropLeftRelease = false;
            return true;
        }
        if (IsMouseButtonEvent(QEvent::MouseButtonPress, Qt::LeftButton, event))
            entry.dropLeftRelease = false;
    }
    return false;
}

bool InputFilter::OnLeftPress(Entry& entry, QObject* target, QMouseEvent* press)
{
    const QPoint global = press->globalPosition().toPoint();
    const QPoint local = entry.engine->mapFromGlobal(global);
    if (!entry.engine->rect().contains(local))
        return false;

    const QPoint off = entry.reportScreen - global;
    if (entry.hasReport && qAbs(off.x()) <= 1 && qAbs(off.y()) <= 1) {
        ++FStats.decidedAtOnce;
        const LinkKind kind = ClassifyPress(entry.reportElement);
        if (kind != LinkKind::PlanDownload) {
            if (kind == LinkKind::AccountPage && entry.kind == ViewKind::HomeTab &&
                entry.hooks.markOpenInPopup)
                entry.hooks.markOpenInPopup();
            return false;
        }
        // The box waits until the press has left the event dispatch; what the
        // page gets meanwhile is held.
        StartHold(entry, target, press);
        const PressedElement element = entry.reportElement;
        const webview::WebBrowser* key = entry.key;
        const int serial = entry.holdSerial;
        QTimer::singleShot(0, this, [this, key, serial, element] { Decide(key, serial, element); });
        return true;
    }

    ++FStats.held;
    StartHold(entry, target, press);
    AskPage(entry, global);
    return true;
}

void InputFilter::StartHold(Entry& entry, QObject* target, QEvent* press)
{
    entry.holding = true;
    ++entry.holdSerial;
    entry.holdClock.start();
    entry.held.clear();
    std::unique_ptr<QEvent> copy(press->clone());
    entry.held.push_back({target, std::move(copy)});
}

void InputFilter::AskPage(Entry& entry, const QPoint& globalPos)
{
    const webview::WebBrowser* key = entry.key;
    const int serial = entry.holdSerial;
    const qreal zoom = entry.view->page()->zoomFactor();
    const QPointF css = QPointF(entry.engine->mapFromGlobal(globalPos)) / (zoom > 0 ? zoom : 1.0);
    const QString script =
        QString::fromLatin1(LinkAddressFunction) +
        QString::fromLatin1(ElementAtScript).arg(css.x(), 0, 'f', 2).arg(css.y(), 0, 'f', 2);
    QPointer<InputFilter> self(this);
    entry.view->page()->runJavaScript(
        script, QWebEngineScript::ApplicationWorld, [self, key, serial](const QVariant& result) {
            if (!self)
                return;
            const QVariantMap m = result.toMap();
            self->Decide(
                key, serial,
                ElementFrom(m.value(QStringLiteral("tag")), m.value(QStringLiteral("href"))));
        });
    // A page that never answers (gone, hung, navigating away) must not keep the input.
    QTimer::singleShot(AskTimeoutMs, this, [this, key, serial] {
        Entry* e = EntryOf(key);
        if (e && e->holding && e->holdSerial == serial) {
            ++FStats.answersLate;
            Decide(key, serial, {});
        }
    });
}

void InputFilter::Decide(const webview::WebBrowser* key, int serial, const PressedElement& element)
{
    Entry* entry = EntryOf(key);
    if (!entry || !entry->holding || entry->holdSerial != serial)
        return;
    FStats.longestHoldMs = qMax(FStats.longestHoldMs, entry->holdClock.elapsed());

    const LinkKind kind = ClassifyPress(element);
    if (kind == LinkKind::AccountPage && entry->kind == ViewKind::HomeTab &&
        entry->hooks.markOpenInPopup)
        entry->hooks.markOpenInPopup();
    if (kind != LinkKind::PlanDownload) {
        ReleaseHold(*entry, false, false);
        return;
    }

    // The owner may go away while the box is up or during the download.
    const ViewHooks hooks = entry->hooks;
    const bool pageTab = entry->kind == ViewKind::PageTab;
    if (ui::ShowMessageBox(ConfirmText(), ConfirmCaption(), ui::Mb::YesNo) == ui::Answer::Yes &&
        hooks.downloadPlan && hooks.downloadPlan(LinkAddress(element)) && hooks.planDownloaded)
        hooks.planDownloaded();
    entry = EntryOf(key);
    if (entry && entry->holding && entry->holdSerial == serial)
        ReleaseHold(*entry, pageTab, true);
}

void InputFilter::ReleaseHold(Entry& entry, bool dropPress, bool releaseLost)
{
    std::vector<HeldEvent> held = std::move(entry.held);
    entry.held.clear();
    entry.holding = false;

    auto isLeftRelease = [](const HeldEvent& h) {
        return IsMouseButtonEvent(QEvent::MouseButtonRelease, Qt::LeftButton, h.event.get());
    };
    auto release = std::find_if(held.begin(), held.end(), isLeftRelease);
    if (dropPress) {
        // The press and its release never reach the page.
        if (release != held.end())
            held.erase(release);
        else
            entry.dropLeftRelease = true;
        held.erase(held.begin());
    } else if (releaseLost && release == held.end() && !held.empty()) {
        // The release came while the box was up and went nowhere; the page
        // gets one so that the press still makes a click.
        const auto* press = static_cast<const QMouseEvent*>(held.front().event.get());
        auto up = std::make_unique<QMouseEvent>(QEvent::MouseButtonRelease, press->position(),
                                                press->scenePosition(), press->globalPosition(),
                                                Qt::LeftButton, Qt::NoButton, press->modifiers(),
                                                press->pointingDevice());
        held.push_back({held.front().target, std::move(up)});
    }

    FReplaying = true;
    for (HeldEvent& h : held) {
        if (h.target)
            QCoreApplication::sendEvent(h.target, h.event.get());
    }
    FReplaying = false;
}

void InputFilter::OnPointerReport(const webview::WebBrowser* key, const QJsonObject& message)
{
    if (message.value(QStringLiteral("kind")).toString() != QStringLiteral("pointer"))
        return;
    Entry* entry = EntryOf(key);
    if (!entry)
        return;
    entry->hasReport = true;
    entry->reportScreen = QPoint(message.value(QStringLiteral("sx")).toInt(),
                                 message.value(QStringLiteral("sy")).toInt());
    entry->reportElement = ElementFrom(message.value(QStringLiteral("tag")).toVariant(),
                                       message.value(QStringLiteral("href")).toVariant());
}

} // namespace site
