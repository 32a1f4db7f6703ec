// The window twainscan owns and gives the source manager as the application's window
// (Windows builds only). It is never shown.
#pragma once

#include <string>

namespace twainscan {

void* CreateParentWindow(std::string& error);  // nullptr on failure, with error set
void DestroyParentWindow(void* window);

}  // namespace twainscan
