#pragma once

#include <QByteArray>

namespace site {

// Window message by which a stored plan is announced to the main window.
inline constexpr int WM_PLAN_DOWNLOADED = 1234;
// The wParam that the input filter sends with it.
inline constexpr int PlanDownloadedFromLinkClick = 2;

// Stores the plan behind a confirmed plan-download link locally; true only
// when a plan was stored. The station keeps no plans: nothing is fetched or
// written, and the answer is always false.
bool DownloadPlan(const QByteArray& linkAddress);

} // namespace site
