"""Builds the board's sound clips: catalogue, RIFF layout and sound design."""
