// Replace.
