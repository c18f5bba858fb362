// Placeholder so that the layer library has a source until its first class lands.
