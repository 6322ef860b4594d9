#pragma once
// The unit window geometry is stored and laid out in: 15 twips to a pixel.
constexpr int TwipsPorPixel = 15;
