// Check and Limit.
