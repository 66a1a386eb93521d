#pragma once

namespace vantorel {

// Makes every skinned control answer a screen reader as the control it is. Called once, with
// the application, before any window opens.
void InstallAccessibility();

}  // namespace vantorel
