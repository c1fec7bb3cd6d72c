// Filled in by its step.
