namespace quorvel::app {}
