#pragma once

/// Registers the program's compiled-in resources (the icon). They live in a static
/// library, whose resources Qt finds only once they are registered by name; every window
/// that shows the icon calls this first. Registering again does no harm.
void initDesktopResources();
