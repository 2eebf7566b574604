#pragma once

#include "BrowserPlatform.h"
#include "MessageBoxes.h"

#include <cstdint>
#include <memory>
#include <string>

namespace trivanta {

class BrowserPlatform;

// The real platform layer of this operating system.
std::unique_ptr<BrowserPlatform> systemBrowserPlatform();

// What every donation control does: opens the donation page from the window
// whose handle is owner.
void ApriDonazione(MessageBoxes& boxes, BrowserPlatform& platform, std::int32_t owner);

// Opens the address in the browser associated with web pages, or tells the
// user where to find it. Reports every failure by a message box only.
void LaunchBrowser(const std::string& address, std::int32_t owner, MessageBoxes& boxes,
                   BrowserPlatform& platform);

} // namespace trivanta
