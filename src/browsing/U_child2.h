#pragma once

#include "browsing/u_child.h"

// The second pop-up window: the same window under its own caption and place.
// Its page's new windows go back to frm_child, its partner.
class Tfrm_child2 : public Tfrm_child
{
    Q_OBJECT
public:
    explicit Tfrm_child2(webview::WebBrowserFactory& browsers, QWidget* parent = nullptr);
};
