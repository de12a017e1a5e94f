#pragma once

// Empties the vorbisfile entry table as if the library were missing, so
// that Ogg files are refused; FillDecoderTable makes it ready again.
void EmptyDecoderTableForTesting();
