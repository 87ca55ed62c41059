#pragma once

/// A background colour, each channel 0 … 255.
struct Colour {
    int red = 255;
    int green = 255;
    int blue = 255;

    friend constexpr bool operator==(const Colour&, const Colour&) = default;
};
