#pragma once

// The owner's particulars shown by the About and notice windows. The
// telephone number and the example proxy address are sample values.
namespace windows::OwnerInfo {

// The site's domain: a proxy address must contain it.
inline constexpr const char* DomainMarker = "zantu.com";
inline constexpr const char* MainHost = "www.zantu.com";
inline constexpr const char* TicketPhone = "400-000-0000";
inline constexpr const char* ExampleProxyAddress = "http://demo.zantu.com";

} // namespace windows::OwnerInfo
