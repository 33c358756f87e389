#pragma once

#include "shell/U_PrintTicket.h"

// The main window without its update check, for tests that are about
// something else and have no update server.
class QuietMainWindow : public Tfrm_printTicket
{
public:
    using Tfrm_printTicket::Tfrm_printTicket;
    bool CheckUpdate() override { return false; }
};
