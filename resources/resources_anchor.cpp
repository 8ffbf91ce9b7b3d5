// Anchor translation unit: the resource objects of this library hang on it.
