#pragma once

/// The keys a grid reacts to; the view translates its own key codes into these.
enum class GridKey { Enter, Down, Up, Tab, Right, Left, Escape };
