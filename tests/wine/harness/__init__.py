"""Running the Windows builds under wine64, each test in its own copy of a golden prefix."""
