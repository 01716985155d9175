// replaced by the imaging sources
