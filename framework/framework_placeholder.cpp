// replaced by the framework sources
